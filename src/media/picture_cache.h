#pragma once
// The pictures GHG decoded last, so a script that shows the same picture again and again
// (a loop, a blinking scene) decodes it once. An entry holds while its file keeps its
// size and modification time; a file that failed is remembered too, so its failure is
// neither decoded nor said again.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <optional>
#include <string>

#include "formats/image.h"

namespace media {

class PictureCache {
 public:
  // Decodes a file; on failure nullopt and a few words on why.
  using Decoder = std::function<std::optional<formats::Image>(const std::filesystem::path&,
                                                              std::string* problem)>;
  struct Picture {
    const std::optional<formats::Image>& image;
    const std::string& problem;
    bool fresh;  // decoded by this call
  };

  // At most `entries` pictures and `pixelBytes` bytes of pixels are kept; a larger
  // picture is decoded every time.
  explicit PictureCache(Decoder decoder, size_t entries = 8, size_t pixelBytes = size_t{64} << 20);

  // The picture of the file, from the cache when the file is unchanged. The references
  // hold until the next call.
  Picture load(const std::filesystem::path& file);

 private:
  struct Entry {
    std::filesystem::path file;
    uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    std::optional<formats::Image> image;
    std::string problem;
  };
  static size_t bytesOf(const Entry& e);

  Decoder decoder_;
  size_t maxEntries_, maxBytes_;
  std::list<Entry> entries_;  // the last used first
  Entry uncached_;
};

}  // namespace media
