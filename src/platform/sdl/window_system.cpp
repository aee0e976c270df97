#include "platform/sdl/window_system.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <algorithm>
#include <vector>

#include "platform/program_exit.h"

namespace platform::sdl {
namespace {

constexpr Uint32 kCloseCheckMs = 10;  // how often a held thread looks for a close

using ErrorHandler = int (*)(Display*, XErrorEvent*);
using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
ErrorHandler previousHandler = nullptr;

/* A window that is gone (destroyed by the window manager while we still drew into it, or
   sent a wake-up by one of SDL's threads as it went) leaves nothing to do. */
int onError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  return previousHandler ? previousHandler(display, error) : 0;
}

bool peek(Uint32 type, std::vector<SDL_Event>& out) {
  const int count = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, type, type);
  if (count <= 0) return false;
  out.resize(static_cast<size_t>(count));
  out.resize(static_cast<size_t>(
      std::max(0, SDL_PeepEvents(out.data(), count, SDL_PEEKEVENT, type, type))));
  return !out.empty();
}

bool closeQueued(SDL_Window* window) {
  SDL_PumpEvents();
  std::vector<SDL_Event> events;
  if (peek(SDL_QUIT, events)) return true;
  if (peek(SDL_WINDOWEVENT, events))
    for (const SDL_Event& e : events)
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) return true;
  if (peek(SDL_SYSWMEVENT, events))
    for (const SDL_Event& e : events)
      if (windowDestroyed(e, window)) return true;
  return false;
}

}  // namespace

/* The handler goes in before SDL's video starts, so SDL keeps it as the one to call
   after its own and puts it back when it closes its connection to the display, the
   moment errors of late requests arrive. libX11 is the one SDL loads; without it there
   is no X display to guard. */
bool startVideo() {
  if (void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_GLOBAL)) {
    if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(x11, "XSetErrorHandler"))) {
      const ErrorHandler old = set(onError);
      if (old != onError) previousHandler = old;
    }
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  return true;
}

bool windowDestroyed(const SDL_Event& event, SDL_Window* window) {
  if (event.type != SDL_SYSWMEVENT || !window || !event.syswm.msg) return false;
  const SDL_SysWMmsg& msg = *event.syswm.msg;
  if (msg.subsystem != SDL_SYSWM_X11 || msg.msg.x11.event.type != DestroyNotify) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  return SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11 &&
         msg.msg.x11.event.xdestroywindow.window == info.info.x11.window;
}

void sleepUnlessClosed(uint32_t deadline, SDL_Window* window) {
  for (;;) {
    if (closeQueued(window)) throw ProgramExit::game(kExitOk, "close");
    const auto left = static_cast<int32_t>(deadline - static_cast<uint32_t>(SDL_GetTicks64()));
    if (left <= 0) return;
    SDL_Delay(std::min<Uint32>(static_cast<Uint32>(left), kCloseCheckMs));
  }
}

}  // namespace platform::sdl
