#pragma once
// Ending the program from anywhere (end of script, error box, closed window, end of
// headless input) unwinds to main with this, so destructors close files and audio.
#include <string>

namespace platform {

struct ProgramExit {
  int status = 0;
  std::string reason;  // eof, exit, error, close, input, limit
};

}  // namespace platform
