// The item picture strip built into the executable: its file layout, its grey ramp and the
// frame and drawing of each of the eight tiles, checked with our own reader and with the
// platform's picture loader.

#include <gtest/gtest.h>

#include <array>

#include "formats/picture_loader.h"
#include "gif_reader.h"
#include "gui/assets.h"

namespace {

constexpr int kTile = 100;
constexpr int kTiles = 8;
constexpr int kWidth = kTile * kTiles;
constexpr int kBackground = 30;
constexpr std::array<int, 32> kRamp = {0,   11,  18,  26,  34,  43,  51,  59,  67,  76,  83,
                                       91,  100, 108, 123, 131, 139, 147, 155, 163, 172, 180,
                                       187, 196, 203, 211, 219, 227, 236, 243, 254, 255};

std::span<const uint8_t> stripBytes() { return gui::asset("item_strip.gif"); }

const testgif::Gif& strip() {
  static const testgif::Gif gif = testgif::readGif(stripBytes());
  return gif;
}

int pixel(int x, int y) { return strip().pixels[static_cast<size_t>(y) * kWidth + x]; }

TEST(ItemStrip, IsEmbedded) { ASSERT_FALSE(stripBytes().empty()); }

TEST(ItemStrip, LogicalScreenAndImageBlock) {
  const testgif::Gif& g = strip();
  EXPECT_EQ(g.signature, "GIF87a");
  EXPECT_EQ(g.screenWidth, kWidth);
  EXPECT_EQ(g.screenHeight, kTile);
  EXPECT_EQ(g.screenPacked & 0x80, 0x80) << "global colour table flag";
  EXPECT_EQ((g.screenPacked >> 4) & 7, 4) << "colour resolution of 5 bits";
  EXPECT_EQ(g.screenPacked & 0x08, 0) << "sort flag";
  EXPECT_EQ(g.screenPacked & 7, 4) << "table of 32 entries";
  EXPECT_EQ(g.background, 0);
  EXPECT_EQ(g.aspect, 0);
  EXPECT_EQ(g.left, 0);
  EXPECT_EQ(g.top, 0);
  EXPECT_EQ(g.width, kWidth);
  EXPECT_EQ(g.height, kTile);
  EXPECT_EQ(g.imagePacked, 0) << "no local table, not interlaced";
  EXPECT_EQ(g.minCodeSize, 6);
  EXPECT_TRUE(g.endCodeSeen);
  EXPECT_EQ(g.bytesAfterTrailer, 0u);
  for (size_t n : g.subBlockSizes) EXPECT_LE(n, 255u);
}

TEST(ItemStrip, PaletteIsTheGreyRamp) {
  const testgif::Gif& g = strip();
  ASSERT_EQ(g.palette.size(), kRamp.size());
  for (size_t i = 0; i < kRamp.size(); ++i) {
    const std::array<uint8_t, 3> grey = {static_cast<uint8_t>(kRamp[i]),
                                         static_cast<uint8_t>(kRamp[i]),
                                         static_cast<uint8_t>(kRamp[i])};
    EXPECT_EQ(g.palette[i], grey) << "entry " << i;
  }
}

TEST(ItemStrip, EntriesThirteenAndThirtyOneUnused) {
  ASSERT_EQ(strip().pixels.size(), static_cast<size_t>(kWidth) * kTile);
  std::array<int, 256> count{};
  for (uint8_t v : strip().pixels) ++count[v];
  EXPECT_EQ(count[13], 0);
  EXPECT_EQ(count[31], 0);
  for (size_t i = kRamp.size(); i < count.size(); ++i) EXPECT_EQ(count[i], 0) << "index " << i;
}

/* Per tile: the one-pixel frame is entry 0, the inside is mostly background with a drawing of
   reasonable size roughly in the middle. */
class ItemStripTile : public testing::TestWithParam<int> {};

TEST_P(ItemStripTile, FrameIsBlack) {
  const int x0 = GetParam() * kTile;
  for (int i = 0; i < kTile; ++i) {
    EXPECT_EQ(pixel(x0 + i, 0), 0) << "top, x " << i;
    EXPECT_EQ(pixel(x0 + i, kTile - 1), 0) << "bottom, x " << i;
    EXPECT_EQ(pixel(x0, i), 0) << "left, y " << i;
    EXPECT_EQ(pixel(x0 + kTile - 1, i), 0) << "right, y " << i;
  }
}

TEST_P(ItemStripTile, MostlyBackgroundWithACentredDrawing) {
  const int x0 = GetParam() * kTile;
  int background = 0, drawn = 0, dark = 0;
  double sumX = 0, sumY = 0;
  for (int y = 1; y < kTile - 1; ++y)
    for (int x = 1; x < kTile - 1; ++x) {
      const int v = pixel(x0 + x, y);
      if (v == kBackground) {
        ++background;
        continue;
      }
      ++drawn;
      if (v <= 3) ++dark;
      sumX += x;
      sumY += y;
    }
  const int inside = (kTile - 2) * (kTile - 2);
  EXPECT_GT(background, inside / 2);
  EXPECT_GT(drawn, inside / 10);
  EXPECT_GT(dark, 100) << "outlines in black";
  ASSERT_GT(drawn, 0);
  EXPECT_NEAR(sumX / drawn, kTile / 2.0, 15);
  EXPECT_NEAR(sumY / drawn, kTile / 2.0, 15);
}

TEST_P(ItemStripTile, NothingBlackTouchesTheFrame) {
  // The drawings keep clear of the frame, so the frame stays a clean one-pixel line.
  const int x0 = GetParam() * kTile;
  for (int i = 1; i < kTile - 1; ++i) {
    EXPECT_NE(pixel(x0 + i, 1), 0);
    EXPECT_NE(pixel(x0 + i, kTile - 2), 0);
    EXPECT_NE(pixel(x0 + 1, i), 0);
    EXPECT_NE(pixel(x0 + kTile - 2, i), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Tiles, ItemStripTile, testing::Range(0, kTiles));

TEST(ItemStrip, TilesDiffer) {
  for (int a = 0; a < kTiles; ++a)
    for (int b = a + 1; b < kTiles; ++b) {
      int differing = 0;
      for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
          differing += pixel(a * kTile + x, y) != pixel(b * kTile + x, y);
      EXPECT_GT(differing, 500) << "tiles " << a << " and " << b;
    }
}

/* The platform's picture loader must see the same greys as our reader. */
TEST(ItemStrip, PictureLoaderAgrees) {
  const std::span<const uint8_t> bytes = stripBytes();
  const auto decoded = formats::decodePicture(bytes);
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width(), kWidth);
  ASSERT_EQ(decoded->height(), kTile);
  int mismatches = 0;
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int grey = kRamp[pixel(x, y)];
      mismatches += decoded->at(x, y) != formats::rgb(grey, grey, grey);
    }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
