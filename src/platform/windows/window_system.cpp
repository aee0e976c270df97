// Windows tells of a closed window by SDL's own close event alone.
#include <SDL.h>

#include "platform/port.h"

namespace platform {

bool startVideo() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  return true;
}

bool windowDestroyed(const SDL_Event&, SDL_Window*) { return false; }

void copyToClipboard(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

}  // namespace platform
