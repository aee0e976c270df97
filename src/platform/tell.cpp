#include <cstdio>

#include "platform/port.h"

namespace platform {

void tell(const std::string& text) { std::fprintf(stderr, "torami: %s\n", text.c_str()); }

}  // namespace platform
