#pragma once
// A held thread still sees the window close: a synchronous sound sleeps in short steps
// that look for a close request, a window destroyed from outside or the process being
// asked to end; every other event stays queued for later.
#include <cstdint>

struct SDL_Window;

namespace backends::sdl {

// Sleeps until the tick like SDL_Delay, but ends the program (a GameEnd, reason
// Close) as soon as the user closes the window or the process is asked to end.
void sleepUnlessClosed(uint32_t deadline, SDL_Window* window);

}  // namespace backends::sdl
