#include "formats/picture_header.h"

#include <cstring>

#include "formats/gif_decoder.h"

namespace formats {
namespace {

class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool has(size_t at, size_t count) const {
    return at <= bytes_.size() && count <= bytes_.size() - at;
  }
  bool startsWith(const char* magic, size_t count) const {
    return has(0, count) && std::memcmp(bytes_.data(), magic, count) == 0;
  }
  uint32_t little(size_t at, int count) const {
    uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i) v = (v << 8) | bytes_[at + i];
    return v;
  }
  uint32_t big(size_t at, int count) const {
    uint32_t v = 0;
    for (int i = 0; i < count; ++i) v = (v << 8) | bytes_[at + i];
    return v;
  }
  uint8_t at(size_t i) const { return bytes_[i]; }
  size_t size() const { return bytes_.size(); }

 private:
  std::span<const uint8_t> bytes_;
};

PictureCheck refuse(std::string problem) { return {std::nullopt, std::move(problem)}; }

/* The size check, in 64 bits so that no header value can overflow it. */
PictureCheck sized(PictureFormat format, int64_t width, int64_t height) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width <= 0 || height <= 0)
    return refuse(std::string(pictureFormatName(format)) + " of " + size + " pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    return refuse(size + " pixels, more than " + std::to_string(kMaxPictureSide) + " x " +
                  std::to_string(kMaxPictureSide));
  return {PictureHeader{format, static_cast<uint32_t>(width), static_cast<uint32_t>(height)}, {}};
}

PictureCheck cutShort(PictureFormat format) {
  return refuse(std::string(pictureFormatName(format)) + " header cut short");
}

/* The file header, then the bitmap header: OS/2 1.x with 16-bit sizes, or a later one
   with signed 32-bit sizes, a negative height meaning top-down rows. */
PictureCheck bmp(const Bytes& b) {
  if (!b.has(14, 4)) return cutShort(PictureFormat::Bmp);
  const uint32_t headerSize = b.little(14, 4);
  if (headerSize == 12) {
    if (!b.has(18, 4)) return cutShort(PictureFormat::Bmp);
    return sized(PictureFormat::Bmp, b.little(18, 2), b.little(20, 2));
  }
  if (headerSize < 16 || !b.has(18, 8)) return cutShort(PictureFormat::Bmp);
  const int64_t width = static_cast<int32_t>(b.little(18, 4));
  const int64_t height = static_cast<int32_t>(b.little(22, 4));
  return sized(PictureFormat::Bmp, width, height < 0 ? -height : height);
}

/* The size of the image the decoder takes (the logical screen's size plays no part). */
PictureCheck gif(std::span<const uint8_t> bytes) {
  const auto image = findGifImage(bytes);
  if (!image) return refuse("GIF without an image");
  return sized(PictureFormat::Gif, image->width, image->height);
}

/* The signature, then IHDR, which must come first. */
PictureCheck png(const Bytes& b) {
  if (!b.has(8, 16)) return cutShort(PictureFormat::Png);
  if (b.big(8, 4) != 13 || !b.has(12, 4) || b.big(12, 4) != 0x49484452)  // "IHDR"
    return refuse("PNG without its header chunk first");
  return sized(PictureFormat::Png, b.big(16, 4), b.big(20, 4));
}

/* Markers from the start of the image to the first frame header (SOF0..SOF15 but the
   table markers among them), which holds the size. */
PictureCheck jpeg(const Bytes& b) {
  size_t at = 2;
  while (b.has(at, 2) && b.at(at) == 0xff) {
    while (b.has(at + 1, 1) && b.at(at + 1) == 0xff) ++at;  // fill bytes before the marker
    if (!b.has(at, 2)) break;
    const uint8_t marker = b.at(at + 1);
    at += 2;
    if (marker == 0xd8 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) continue;
    if (marker == 0xd9 || marker == 0xda || !b.has(at, 2)) break;  // no frame header came
    const uint32_t length = b.big(at, 2);
    const bool frame =
        marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
    if (frame) {
      if (length < 7 || !b.has(at, 7)) break;
      return sized(PictureFormat::Jpeg, b.big(at + 5, 2), b.big(at + 3, 2));
    }
    if (length < 2) break;
    at += length;
  }
  return refuse("JPEG without a frame header");
}

}  // namespace

PictureCheck checkPictureHeader(std::span<const uint8_t> span) {
  const Bytes b(span);
  if (b.startsWith("BM", 2)) return bmp(b);
  if (b.startsWith("GIF87a", 6) || b.startsWith("GIF89a", 6)) return gif(span);
  if (b.startsWith("\x89PNG\r\n\x1a\n", 8)) return png(b);
  if (b.startsWith("\xff\xd8", 2)) return jpeg(b);
  return refuse("not a BMP, GIF, PNG or JPEG picture");
}

const char* pictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
      return "BMP";
    case PictureFormat::Gif:
      return "GIF";
    case PictureFormat::Png:
      return "PNG";
    case PictureFormat::Jpeg:
      break;
  }
  return "JPEG";
}

}  // namespace formats
