/* Music on Windows goes to the system's own MIDI synthesiser, as the title's did, through
   the mixer's native MIDI support: no soundfont. Whether a MIDI device is there shows
   only when a piece is loaded. */
#include <SDL_mixer.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/port.h"

namespace platform {

bool openSynthesiser() {
  if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) != 0) return true;
  tell(std::string("no MIDI synthesiser (") + Mix_GetError() + "); music is silent");
  return false;
}

}  // namespace platform
