// X11 behind SDL: errors about windows already gone are ignored, and a window destroyed
// from outside is told by the raw events SDL passes on.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xproto.h>
#include <dlfcn.h>

#include "platform/port.h"

namespace platform {
namespace {

using ErrorHandler = int (*)(Display*, XErrorEvent*);
using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
ErrorHandler previousHandler = nullptr;

/* A window that is gone (destroyed by the window manager while we still drew into it, or
   sent a wake-up by one of SDL's threads as it went) leaves nothing to do; nor does the
   graphics context of its frame, freed as the window is torn down after it went. */
int onError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  if (error->error_code == BadGC && error->request_code == X_FreeGC) return 0;
  return previousHandler ? previousHandler(display, error) : 0;
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

void copyToClipboard(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

}  // namespace platform
