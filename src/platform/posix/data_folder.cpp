#include <cstdlib>

#include "platform/port.h"

namespace platform {

std::optional<std::filesystem::path> userDataFolder() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    return std::filesystem::path(xdg) / "torami";
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".local" / "share" / "torami";
  return std::nullopt;
}

}  // namespace platform
