// A page's files are its own copies: nothing changes them behind the player's back.
#include "platform/port.h"

namespace platform {

std::unique_ptr<FileWatch> watchFile(const std::filesystem::path&, std::function<void()>) {
  return nullptr;
}

}  // namespace platform
