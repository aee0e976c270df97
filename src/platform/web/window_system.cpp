// In a page there is no window system behind SDL: no window is destroyed from outside and
// no late errors come; closing is the page going away, which ends everything at once.
#include "platform/sdl/window_system.h"

#include <SDL.h>

#include <algorithm>

namespace platform::sdl {

bool startVideo() { return SDL_Init(SDL_INIT_VIDEO) == 0; }

bool windowDestroyed(const SDL_Event&, SDL_Window*) { return false; }

// SDL_Delay yields to the page (emscripten_sleep), so the page stays alive meanwhile.
void sleepUnlessClosed(uint32_t deadline, SDL_Window*) {
  const auto left = static_cast<int32_t>(deadline - static_cast<uint32_t>(SDL_GetTicks64()));
  if (left > 0) SDL_Delay(static_cast<Uint32>(left));
}

}  // namespace platform::sdl
