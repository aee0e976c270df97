#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/port.h"

namespace platform {

QuietStandardError::QuietStandardError() {
  std::fflush(stderr);
  saved_ = _dup(_fileno(stderr));
  const int null = _open("NUL", _O_WRONLY);
  if (saved_ >= 0 && null >= 0) _dup2(null, _fileno(stderr));
  if (null >= 0) _close(null);
}

QuietStandardError::~QuietStandardError() {
  if (saved_ < 0) return;
  std::fflush(stderr);
  _dup2(saved_, _fileno(stderr));
  _close(saved_);
}

}  // namespace platform
