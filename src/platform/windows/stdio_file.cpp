#include <io.h>

#include <string>

#include "platform/port.h"

namespace platform {

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
  const std::string narrowMode(mode);
  return _wfopen(path.c_str(), std::wstring(narrowMode.begin(), narrowMode.end()).c_str());
}

bool syncToDisk(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

}  // namespace platform
