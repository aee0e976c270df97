#include "media/picture_cache.h"

namespace media {

PictureCache::PictureCache(Decoder decoder, size_t entries, size_t pixelBytes)
    : decoder_(std::move(decoder)), maxEntries_(entries), maxBytes_(pixelBytes) {}

size_t PictureCache::bytesOf(const Entry& e) {
  return e.image ? e.image->pixels().size() * sizeof(formats::Color) : 0;
}

PictureCache::Picture PictureCache::load(const std::filesystem::path& file) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(file, ec);
  const auto modified =
      ec ? std::filesystem::file_time_type() : std::filesystem::last_write_time(file, ec);
  const bool known = !ec;
  for (auto it = entries_.begin(); known && it != entries_.end(); ++it) {
    if (it->file != file || it->size != size || it->modified != modified) continue;
    entries_.splice(entries_.begin(), entries_, it);
    return {entries_.front().image, entries_.front().problem, false};
  }
  std::erase_if(entries_, [&](const Entry& e) { return e.file == file; });
  Entry entry{file, size, modified, std::nullopt, {}};
  entry.image = decoder_(file, &entry.problem);
  if (!known || bytesOf(entry) > maxBytes_) {
    uncached_ = std::move(entry);
    return {uncached_.image, uncached_.problem, true};
  }
  entries_.push_front(std::move(entry));
  size_t bytes = 0, count = 0;
  for (auto it = entries_.begin(); it != entries_.end();) {
    bytes += bytesOf(*it);
    if (++count > maxEntries_ || bytes > maxBytes_) {
      bytes -= bytesOf(*it);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
  return {entries_.front().image, entries_.front().problem, true};
}

}  // namespace media
