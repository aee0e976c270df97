#include <io.h>

#include <cstdio>

#include "platform/port.h"

namespace platform {

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace platform
