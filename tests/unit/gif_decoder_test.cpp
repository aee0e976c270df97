// The GIF decoder of our own: the image library's pictures for sound files, interlaced rows
// in their places, and no fault on the broken streams that break the library's decoder.
#include "formats/gif_decoder.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "../../tools/gif_writer.h"
#include "formats/image_surface.h"

namespace {

using formats::Image;

gif::IndexedImage pattern(int width, int height, int colours) {
  gif::IndexedImage image{width, height, {}, {}};
  for (int i = 0; i < colours; ++i)
    image.palette.push_back({static_cast<uint8_t>(i * 37), static_cast<uint8_t>(255 - i * 11),
                             static_cast<uint8_t>(i * 5)});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.pixels.push_back(static_cast<uint8_t>((x * 7 + y * 3 + x * y) % colours));
  return image;
}

std::optional<Image> libraryDecode(const std::vector<uint8_t>& bytes) {
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  auto image = formats::fromSurface(IMG_LoadGIF_RW(rw));
  SDL_RWclose(rw);
  return image;
}

TEST(GifDecoder, GivesTheLibrarysPictureForSoundFiles) {
  const struct {
    int width, height, colours, minCodeSize;
  } cases[] = {{1, 1, 2, 2}, {7, 3, 4, 2}, {33, 17, 16, 4}, {504, 336, 256, 8}, {64, 64, 3, 2}};
  for (const auto& c : cases) {
    const auto bytes = gif::encodeGif87a(pattern(c.width, c.height, c.colours), c.minCodeSize);
    const auto ours = formats::decodeGif(bytes);
    const auto library = libraryDecode(bytes);
    ASSERT_TRUE(ours && library) << c.width << " x " << c.height;
    EXPECT_EQ(*ours, *library) << c.width << " x " << c.height;
  }
  for (const char* file : {"demo/beach.szg", "demo/lighthouse.szg", "assets/item_strip.gif"}) {
    std::ifstream in(std::string(TORAMI_SOURCE_DIR) + "/" + file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    const auto ours = formats::decodeGif(bytes);
    const auto library = libraryDecode(bytes);
    ASSERT_TRUE(ours && library) << file;
    EXPECT_EQ(*ours, *library) << file;
  }
}

/* The rows of an interlaced image come in four passes: every eighth from row 0, every
   eighth from row 4, every fourth from row 2, every second from row 1. */
TEST(GifDecoder, PutsInterlacedRowsInTheirPlaces) {
  for (int height : {1, 3, 5, 10, 17}) {
    auto bytes = gif::encodeGif87a(pattern(6, height, 16), 4);
    const auto inOrder = formats::decodeGif(bytes);
    const auto at = formats::findGifImage(bytes);
    ASSERT_TRUE(inOrder && at);
    ASSERT_EQ(at->colours, 13u) << "the writer's colours are the screen's";
    bytes[at->data - 1] |= 0x40;  // the image's flags lie just before its code size
    const auto interlaced = formats::decodeGif(bytes);
    ASSERT_TRUE(interlaced);
    std::vector<int> order;
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
      for (int y = start; y < height; y += step) order.push_back(y);
    for (int k = 0; k < height; ++k)
      for (int x = 0; x < 6; ++x)
        EXPECT_EQ(interlaced->at(x, order[k]), inOrder->at(x, k)) << height << ": row " << k;
  }
}

TEST(GifDecoder, DecodesBrokenStreamsToTheirSizeWithoutFault) {
  const std::string folder = std::string(TORAMI_SOURCE_DIR) + "/tests/fuzz/corpus/picture/";
  for (const char* name : {"gif_second_image_after_a_bad_first", "gif_lzw_overruns_the_library"}) {
    std::ifstream in(folder + name, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_FALSE(bytes.empty()) << name;
    const auto at = formats::findGifImage(bytes);
    const auto image = formats::decodeGif(bytes);
    ASSERT_TRUE(at && image) << name;
    EXPECT_EQ(image->width(), static_cast<int>(at->width)) << name;
    EXPECT_EQ(image->height(), static_cast<int>(at->height)) << name;
  }
  auto cut = gif::encodeGif87a(pattern(40, 40, 16), 4);
  cut.resize(cut.size() / 2);
  const auto half = formats::decodeGif(cut);
  ASSERT_TRUE(half);
  EXPECT_EQ(half->height(), 40);
}

}  // namespace
