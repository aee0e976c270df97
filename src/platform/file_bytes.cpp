#include "platform/file_bytes.h"

#include <cstdio>
#include <fstream>

#include "platform/port.h"
#include "platform/unchanging_files.h"

namespace platform {

namespace {

std::optional<std::vector<uint8_t>> readWhole(const std::filesystem::path& path, size_t limit) {
  awaitFile(path);
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

}  // namespace

std::optional<std::vector<uint8_t>> readFileBytes(const std::filesystem::path& path, size_t limit) {
  return rememberedRead(path, limit, [&] { return readWhole(path, limit); });
}

bool writeFileWhole(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  std::FILE* f = openFile(temporary, "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() &&
                       syncToDisk(f) && !std::ferror(f);
  const bool closed = std::fclose(f) == 0;
  std::error_code ec;
  if (written && closed) std::filesystem::rename(temporary, path, ec);
  if (!written || !closed || ec) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace platform
