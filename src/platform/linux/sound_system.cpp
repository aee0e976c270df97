#include "platform/sdl/sound_system.h"

#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/soundfont.h"

namespace platform::sdl {

QuietStandardError::QuietStandardError() {
  std::fflush(stderr);
  saved_ = ::dup(STDERR_FILENO);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved_ >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
  if (null >= 0) ::close(null);
}

QuietStandardError::~QuietStandardError() {
  if (saved_ < 0) return;
  std::fflush(stderr);
  ::dup2(saved_, STDERR_FILENO);
  ::close(saved_);
}

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
  if (Mix_SetSoundFonts(choice.path->c_str()) != 0) return true;
  tell("the MIDI synthesiser does not take the soundfont " + *choice.path + "; music is silent");
  return false;
}

}  // namespace platform::sdl
