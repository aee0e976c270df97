// The GIF writer used by the asset generators: file layout, palette padding, and LZW round
// trips through an independent reader and through the platform's picture loader.

#include "../../tools/gif_writer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formats/picture_loader.h"
#include "gif_reader.h"

namespace {

gif::IndexedImage makeImage(int w, int h, int colours, std::vector<uint8_t> pixels) {
  gif::IndexedImage img{w, h, {}, std::move(pixels)};
  for (int i = 0; i < colours; ++i)
    img.palette.push_back(
        {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3)});
  return img;
}

std::vector<uint8_t> noise(size_t n, int colours, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> pick(0, colours - 1);
  std::vector<uint8_t> v(n);
  for (uint8_t& p : v) p = static_cast<uint8_t>(pick(rng));
  return v;
}

std::vector<uint8_t> stripes(size_t n, int colours, size_t run) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>((i / run) % colours);
  return v;
}

struct RoundTrip {
  std::string name;
  int width, height, colours, minCodeSize;
  std::vector<uint8_t> pixels;
  bool tableFillsUp;  // the stream must restart its code table at least once
};

void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

std::vector<RoundTrip> roundTrips() {
  return {
      {"single_pixel", 1, 1, 2, 2, {1}, false},
      {"one_colour_runs", 300, 200, 2, 2, std::vector<uint8_t>(300 * 200, 0), false},
      {"four_colour_noise", 320, 240, 4, 2, noise(320 * 240, 4, 1), true},
      {"full_byte_noise", 200, 150, 256, 8, noise(200 * 150, 256, 2), true},
      {"grey_ramp_stripes", 800, 100, 32, 6, stripes(800 * 100, 32, 5), true},
      {"wide_code_small_palette", 256, 256, 3, 8, noise(256 * 256, 3, 3), true},
      {"odd_size", 97, 3, 5, 3, noise(97 * 3, 5, 4), false},
      // 126 codes fill the table up to the first width step, so the end code is one bit wider
      // and the stream is 1033 bits long: an end code written too narrow would end on a byte
      // boundary and cut the last code short.
      {"end_code_after_width_step", 50, 161, 2, 7, std::vector<uint8_t>(50 * 161, 1), false},
  };
}

class GifWriterRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(GifWriterRoundTrip, ReaderGetsThePixelsBack) {
  const RoundTrip& c = GetParam();
  const gif::IndexedImage img = makeImage(c.width, c.height, c.colours, c.pixels);
  const testgif::Gif g = testgif::readGif(gif::encodeGif87a(img, c.minCodeSize));
  EXPECT_EQ(g.signature, "GIF87a");
  EXPECT_EQ(g.screenWidth, c.width);
  EXPECT_EQ(g.screenHeight, c.height);
  EXPECT_EQ(g.width, c.width);
  EXPECT_EQ(g.height, c.height);
  EXPECT_EQ(g.minCodeSize, c.minCodeSize);
  EXPECT_TRUE(g.endCodeSeen);
  EXPECT_EQ(g.bytesAfterTrailer, 0u);
  for (size_t n : g.subBlockSizes) EXPECT_LE(n, 255u);
  EXPECT_EQ(g.clearCodes > 1, c.tableFillsUp) << g.clearCodes << " clear codes";
  EXPECT_EQ(g.pixels, c.pixels);
}

TEST_P(GifWriterRoundTrip, PictureLoaderGetsTheColoursBack) {
  const RoundTrip& c = GetParam();
  const gif::IndexedImage img = makeImage(c.width, c.height, c.colours, c.pixels);
  const std::vector<uint8_t> bytes = gif::encodeGif87a(img, c.minCodeSize);
  const auto decoded = formats::decodePicture(bytes);
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width(), c.width);
  ASSERT_EQ(decoded->height(), c.height);
  int mismatches = 0;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const gif::Rgb want = img.palette[c.pixels[static_cast<size_t>(y) * c.width + x]];
      mismatches += decoded->at(x, y) != formats::rgb(want.r, want.g, want.b);
    }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Images, GifWriterRoundTrip, testing::ValuesIn(roundTrips()),
                         [](const auto& info) { return info.param.name; });

TEST(GifWriter, PadsThePaletteToAPowerOfTwoWithBlack) {
  struct Case {
    int colours, tableEntries, sizeField;
  };
  for (const Case c : {Case{1, 2, 0}, Case{2, 2, 0}, Case{3, 4, 1}, Case{5, 8, 2}, Case{32, 32, 4},
                       Case{33, 64, 5}, Case{256, 256, 7}}) {
    SCOPED_TRACE(c.colours);
    const testgif::Gif g =
        testgif::readGif(gif::encodeGif87a(makeImage(2, 1, c.colours, {0, 0}), 8));
    EXPECT_EQ(g.screenPacked, 0x80 | (c.sizeField << 4) | c.sizeField);
    ASSERT_EQ(g.palette.size(), static_cast<size_t>(c.tableEntries));
    for (int i = 0; i < c.tableEntries; ++i) {
      const std::array<uint8_t, 3> want =
          i < c.colours
              ? std::array<uint8_t, 3>{static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i),
                                       static_cast<uint8_t>(i * 3)}
              : std::array<uint8_t, 3>{0, 0, 0};
      EXPECT_EQ(g.palette[i], want) << "entry " << i;
    }
  }
}

TEST(GifWriter, RejectsImagesItCannotEncode) {
  const auto encode = [](gif::IndexedImage img, int minCodeSize) {
    return gif::encodeGif87a(img, minCodeSize);
  };
  EXPECT_THROW(encode(makeImage(2, 2, 4, {0, 1, 2}), 2), std::invalid_argument)
      << "pixel count does not match";
  EXPECT_THROW(encode(makeImage(2, 1, 4, {0, 4}), 2), std::invalid_argument)
      << "index outside the palette";
  EXPECT_THROW(encode(makeImage(2, 1, 16, {0, 8}), 2), std::invalid_argument)
      << "index needs more bits than the min code size";
  EXPECT_THROW(encode(makeImage(1, 1, 2, {0}), 1), std::invalid_argument);
  EXPECT_THROW(encode(makeImage(1, 1, 2, {0}), 9), std::invalid_argument);
  EXPECT_THROW(encode(makeImage(0, 1, 2, {}), 2), std::invalid_argument);
  EXPECT_THROW(encode(makeImage(1, 1, 0, {0}), 2), std::invalid_argument);
  EXPECT_THROW(encode(makeImage(1, 1, 257, {0}), 8), std::invalid_argument);
}

}  // namespace
