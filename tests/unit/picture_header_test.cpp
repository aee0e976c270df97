// The picture header check: format by content, the size the decoder will make, and the
// refusals that keep a lying header from reaching the decoder.
#include "formats/picture_header.h"

#include <gtest/gtest.h>

#include "support/picture_bytes.h"

namespace {

using namespace picture_bytes;
using formats::checkPictureHeader;
using formats::PictureFormat;

std::span<const uint8_t> bytesOf(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string osTwoBmp(uint16_t width, uint16_t height) {
  std::string b = "BM";
  put(b, 26, 4), put(b, 0, 4), put(b, 26, 4), put(b, 12, 4);
  put(b, width, 2), put(b, height, 2), put(b, 1, 2), put(b, 24, 2);
  return b;
}

TEST(PictureHeader, ReadsFormatAndSize) {
  const std::string comment(
      "\x21\xfe\x03"
      "abc\x00",
      7);
  const std::string app0("\xff\xe0\x00\x04\x00\x00", 6), table("\xff\xc4\x00\x02", 4);
  const struct {
    const char* what;
    std::string bytes;
    PictureFormat format;
    uint32_t width, height;
  } cases[] = {
      {"BMP", bmp(504, 336), PictureFormat::Bmp, 504, 336},
      {"top-down BMP", bmp(504, -336), PictureFormat::Bmp, 504, 336},
      {"OS/2 BMP", osTwoBmp(100, 50), PictureFormat::Bmp, 100, 50},
      {"the largest BMP", bmp(8192, 8192), PictureFormat::Bmp, 8192, 8192},
      {"GIF", gif(800, 100), PictureFormat::Gif, 800, 100},
      {"GIF: the image's size, after an extension", gif(800, 600, 20, 10, comment),
       PictureFormat::Gif, 20, 10},
      {"GIF: an image of no width is passed over",
       gif(8, 8, 0, 5).substr(0, 34) + gif(8, 8, 20, 10).substr(19), PictureFormat::Gif, 20, 10},
      {"PNG", png(504, 336), PictureFormat::Png, 504, 336},
      {"JPEG after APP0 and a table", jpeg(640, 480, 0xc0, app0 + table), PictureFormat::Jpeg, 640,
       480},
      {"progressive JPEG with fill bytes", jpeg(33, 44, 0xc2, std::string("\xff\xff", 2)),
       PictureFormat::Jpeg, 33, 44},
  };
  for (const auto& c : cases) {
    const auto check = checkPictureHeader(bytesOf(c.bytes));
    ASSERT_TRUE(check.header) << c.what << ": " << check.problem;
    EXPECT_EQ(check.header->format, c.format) << c.what;
    EXPECT_EQ(check.header->width, c.width) << c.what;
    EXPECT_EQ(check.header->height, c.height) << c.what;
  }
}

TEST(PictureHeader, RefusesWhatTheDecoderMustNotSee) {
  const struct {
    const char* what;
    std::string bytes;
    const char* said;
  } cases[] = {
      {"BMP 30000 x 17896", bmp(30000, 17896), "30000 x 17896 pixels, more than 8192 x 8192"},
      {"BMP one wider than the largest", bmp(8193, 1), "8193 x 1 pixels"},
      {"BMP with the lowest height", bmp(1, INT32_MIN), "1 x 2147483648 pixels"},
      {"BMP without width", bmp(0, 10), "BMP of 0 x 10 pixels"},
      {"BMP with a negative width", bmp(-5, 10), "BMP of -5 x 10 pixels"},
      {"BMP cut short", bmp(10, 10).substr(0, 20), "BMP header cut short"},
      {"GIF 65535 x 65535", gif(65535, 65535), "65535 x 65535 pixels"},
      {"GIF whose image is larger than its screen", gif(10, 10, 9000, 10), "9000 x 10 pixels"},
      {"GIF without an image", gif(10, 10).substr(0, 19) + ";", "GIF without an image"},
      {"GIF whose first image cannot start, then a huge one",
       gif(10, 10).substr(0, 29) + "\x0d" + gif(10, 10, 9000, 10).substr(19), "9000 x 10 pixels"},
      {"GIF cut short in an extension", gif(10, 10).substr(0, 19) + "!\xfe\x10", "GIF without"},
      {"PNG 1000000 wide", png(1000000, 1), "1000000 x 1 pixels"},
      {"PNG of no height", png(10, 0), "PNG of 10 x 0 pixels"},
      {"PNG without its header first", png(10, 10).replace(12, 4, "IDAT"), "header chunk first"},
      {"JPEG 65535 high", jpeg(10, 65535), "10 x 65535 pixels"},
      {"JPEG with scan data before a frame", std::string("\xff\xd8\xff\xda\x00\x02", 6),
       "JPEG without a frame header"},
      {"JPEG cut short", jpeg(10, 10).substr(0, 8), "JPEG without a frame header"},
      {"text", "hello", "not a BMP, GIF, PNG or JPEG picture"},
      {"nothing", "", "not a BMP, GIF, PNG or JPEG picture"},
  };
  for (const auto& c : cases) {
    const auto check = checkPictureHeader(bytesOf(c.bytes));
    EXPECT_FALSE(check.header) << c.what;
    EXPECT_NE(check.problem.find(c.said), std::string::npos) << c.what << ": " << check.problem;
  }
}

/* Each header is refused when cut anywhere before its size is complete (which also
   shows the check never reads past the end under the sanitizers), and read from there. */
TEST(PictureHeader, EveryTruncationBeforeTheSizeIsRefused) {
  const std::pair<std::string, size_t> wholes[] = {
      {bmp(10, 10), 26}, {gif(10, 10), 30}, {png(10, 10), 24}, {jpeg(10, 10), 11}};
  for (const auto& [whole, complete] : wholes) {
    for (size_t size = 0; size < complete; ++size)
      EXPECT_FALSE(checkPictureHeader(bytesOf(whole.substr(0, size))).header) << size;
    EXPECT_TRUE(checkPictureHeader(bytesOf(whole.substr(0, complete))).header) << complete;
  }
}

}  // namespace
