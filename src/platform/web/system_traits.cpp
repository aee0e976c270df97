// A page: no threads, the window is a canvas the page scales, and boxes are dialogs of
// the page.
#include "platform/port.h"

namespace platform {

const bool kHasThreads = false;
const bool kWindowIsCanvas = true;
const bool kOwnErrorBox = false;  // boxes never show in the window

}  // namespace platform
