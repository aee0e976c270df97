// The installed icons: the drawing enlarged by whole pixels, and written as a PNG whose
// magenta is transparent (formats::Image::enlarged, formats::savePng).
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "formats/image.h"
#include "formats/png_writer.h"

namespace {

namespace fs = std::filesystem;
using formats::Image;
using formats::rgb;

// Three columns and two rows of different colours.
Image smallPicture() {
  Image image(3, 2);
  const formats::Color colours[] = {rgb(255, 0, 0),   rgb(0, 255, 0),  rgb(0, 0, 255),
                                    rgb(255, 0, 255), rgb(12, 34, 56), rgb(255, 255, 255)};
  for (int i = 0; i < 6; ++i) image.set(i % 3, i / 3, colours[i]);
  return image;
}

TEST(IconScale, EachPixelBecomesASquare) {
  const Image small = smallPicture();
  const Image large = small.enlarged(4);
  ASSERT_EQ(large.width(), 12);
  ASSERT_EQ(large.height(), 8);
  for (int y = 0; y < large.height(); ++y)
    for (int x = 0; x < large.width(); ++x)
      ASSERT_EQ(large.at(x, y), small.at(x / 4, y / 4)) << "at " << x << ", " << y;
  // Shrinking it back averages squares of one colour: the picture it came from.
  EXPECT_EQ(large.shrunk(4), small);
}

TEST(IconScale, FactorOneKeepsThePicture) { EXPECT_EQ(smallPicture().enlarged(1), smallPicture()); }

struct IconPng : ::testing::Test {
  fs::path file;
  void SetUp() override {
    file = fs::temp_directory_path() / ("torami-icon-" + std::to_string(getpid()) + ".png");
  }
  void TearDown() override { fs::remove(file); }

  // The pixels of the written file as 0xAARRGGBB, row by row.
  std::vector<Uint32> readBack() {
    std::vector<Uint32> pixels;
    SDL_Surface* loaded = IMG_Load(file.string().c_str());
    if (!loaded) return pixels;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!s) return pixels;
    for (int y = 0; y < s->h; ++y) {
      const Uint32* row =
          reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
      pixels.insert(pixels.end(), row, row + s->w);
    }
    SDL_FreeSurface(s);
    return pixels;
  }
};

TEST_F(IconPng, MagentaBecomesTransparentAndEveryOtherColourStays) {
  Image image = smallPicture();
  image.set(2, 1, rgb(254, 0, 255));  // next to magenta, but not it
  ASSERT_TRUE(formats::savePng(image, file, formats::Transparency::MagentaIsClear));
  const std::vector<Uint32> expected = {0xffff0000u, 0xff00ff00u, 0xff0000ffu,
                                        0x00000000u, 0xff0c2238u, 0xfffe00ffu};
  EXPECT_EQ(readBack(), expected);
}

TEST_F(IconPng, AnOpaquePngKeepsItsMagenta) {
  ASSERT_TRUE(formats::savePng(smallPicture(), file));
  const std::vector<Uint32> pixels = readBack();
  ASSERT_EQ(pixels.size(), 6u);
  EXPECT_EQ(pixels[3], 0xffff00ffu);
}

}  // namespace
