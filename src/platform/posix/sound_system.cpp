#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/port.h"
#include "platform/soundfont.h"

namespace platform {

/* The soundfont is set before the first MIDI load, and checked here: the
   synthesiser accepts a missing path and only fails at the first load, with a
   message about a different synthesiser's configuration. */
bool openSynthesiser() {
  const SoundFontChoice choice =
      findSoundFont(std::getenv("TORAMI_SOUNDFONT"), soundFontCandidates());
  if (choice.note) tell(*choice.note);
  if (!choice.path) return false;
  if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) {
    tell(std::string("no MIDI synthesiser (") + Mix_GetError() + "); music is silent");
    return false;
  }
  if (Mix_SetSoundFonts(choice.path->c_str()) != 0) {
    rememberSoundFont(*choice.path);
    return true;
  }
  tell("the MIDI synthesiser does not take the soundfont " + *choice.path + "; music is silent");
  return false;
}

}  // namespace platform
