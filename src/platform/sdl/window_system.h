#pragma once
// What the window backend needs from the window system beyond SDL's own events: a close
// that comes while the thread is held, a window destroyed from outside, and errors about
// a window that is already gone, which must never end the program.
#include <cstdint>

union SDL_Event;
struct SDL_Window;

namespace platform::sdl {

// Starts SDL's video subsystem (false when it cannot: SDL_GetError says why), guarded:
// errors of the X window system about a window or drawable that no longer exists (a close
// racing the window's destruction) are ignored instead of ending the program with status
// 1, while other errors end it as before; and the raw window system events that tell a
// window was destroyed are asked for.
bool startVideo();

// Whether the event says the window was destroyed from outside: a close of its own kind.
bool windowDestroyed(const SDL_Event& event, SDL_Window* window);

// Sleeps until the tick like SDL_Delay, but ends the program (ProgramExit, reason
// "close") as soon as the user closes the window or the process is asked to end; every
// other event stays queued for later.
void sleepUnlessClosed(uint32_t deadline, SDL_Window* window);

}  // namespace platform::sdl
