#pragma once
// What a picture file says about itself before a single pixel is decoded: its format
// and its size. The picture loader decodes only what passes this check, so no file can
// make the decoder allocate more than a picture of the largest size takes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace formats {

enum class PictureFormat { Bmp, Gif, Png, Jpeg };

// The largest picture shown, on each side: the picture area is 504 x 336.
inline constexpr uint32_t kMaxPictureSide = 8192;

struct PictureHeader {
  PictureFormat format = PictureFormat::Bmp;
  uint32_t width = 0, height = 0;  // of the image the decoder makes
};

struct PictureCheck {
  std::optional<PictureHeader> header;  // set when the picture may be decoded
  std::string problem;                  // otherwise: why not, for a message
};

// Reads the header of a BMP, GIF, PNG or JPEG file (found by its content) in wide
// arithmetic. Refuses other contents, headers cut short, sizes of 0 and sizes above
// kMaxPictureSide on either side.
PictureCheck checkPictureHeader(std::span<const uint8_t> bytes);

const char* pictureFormatName(PictureFormat format);

}  // namespace formats
