#include "platform/file_bytes.h"

#include <fstream>

namespace platform {

std::optional<std::vector<uint8_t>> readFileBytes(const std::filesystem::path& path, size_t limit) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > limit) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes(size);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    return std::nullopt;
  return bytes;
}

}  // namespace platform
