#include "platform/picture_cache.h"

#include <map>

#include "platform/picture_loader.h"

namespace platform {
namespace {

struct Kept {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type time;
  std::optional<Image> picture;
};

bool keeping = false;
std::map<std::filesystem::path, Kept>& kept() {
  static std::map<std::filesystem::path, Kept> pictures;
  return pictures;
}

}  // namespace

void keepDecodedPictures(bool on) {
  keeping = on;
  if (!on) kept().clear();
}

std::optional<Image> loadPictureKept(const std::filesystem::path& path) {
  if (!keeping) return loadPicture(path);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  const auto time = std::filesystem::last_write_time(path, ec);
  if (ec) return loadPicture(path);
  auto it = kept().find(path);
  if (it == kept().end() || it->second.size != size || it->second.time != time)
    it = kept().insert_or_assign(path, Kept{size, time, loadPicture(path)}).first;
  return it->second.picture;
}

}  // namespace platform
