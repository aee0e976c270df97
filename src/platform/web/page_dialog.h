#pragma once
// The player's message boxes on the page (a browser has no message boxes of SDL's): the
// box is a dialog of the page, and the program yields to the page until it is answered.
#include "platform/backend.h"

namespace platform::web {

// The index of the chosen button, or -1 when the box is closed.
int askInPage(const MessageBox& box);

}  // namespace platform::web
