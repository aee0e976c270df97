#include "platform/port.h"

namespace platform {

std::vector<std::string> startProcess(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace platform
