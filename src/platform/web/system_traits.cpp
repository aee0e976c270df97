// A page: no threads and no copies of the running program, the window is a canvas the
// page scales, and boxes are dialogs of the page.
#include "platform/port.h"

namespace platform {

const bool kHasThreads = false;
const bool kWindowIsCanvas = true;
const bool kCanCopyProcess = false;  // no processes of its own
const bool kOwnErrorBox = false;     // boxes never show in the window

void returnFreedMemory() {}  // the page's memory only grows
void preloadForWindow() {}   // linked into the page
void preloadLibraries(bool, bool) {}

}  // namespace platform
