// In a page there is no window system behind SDL: no window is destroyed from outside and
// no late errors come; closing is the page going away, which ends everything at once.
#include <SDL.h>

#include "platform/port.h"

namespace platform {

bool startVideo() { return SDL_Init(SDL_INIT_VIDEO) == 0; }

bool windowDestroyed(const SDL_Event&, SDL_Window*) { return false; }

}  // namespace platform
