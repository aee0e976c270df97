#include <unistd.h>

#include "platform/port.h"

namespace platform {

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace platform
