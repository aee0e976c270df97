// The cache of decoded pictures: a file decodes once while it is unchanged on disk, and
// again when it changes; failures are remembered as well; the cache stays small.
#include "media/picture_cache.h"

#include <gtest/gtest.h>

#include <fstream>

#include "unit/audio_fixtures.h"

namespace {

namespace fs = std::filesystem;
using formats::Image;
using media::PictureCache;

/* A decoder that counts its calls and makes a picture from the file's first byte: a
   1 x N image for a byte N, a failure for an empty file. */
struct CountingDecoder {
  int calls = 0;
  PictureCache::Decoder decoder() {
    return [this](const fs::path& file, std::string* problem) -> std::optional<Image> {
      ++calls;
      std::ifstream in(file, std::ios::binary);
      const int first = in.get();
      if (first == EOF) {
        *problem = "empty";
        return std::nullopt;
      }
      return Image(1, first, formats::rgb(first, 0, 0));
    };
  }
};

void write(const fs::path& file, const std::string& bytes, int secondsAgo) {
  std::ofstream(file, std::ios::binary) << bytes;
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
}

TEST(PictureCache, DecodesAFileOnceWhileItIsUnchanged) {
  audio_test::ScratchFolder folder;
  const fs::path a = folder.path() / "a.szg", empty = folder.path() / "empty.szg";
  write(a, "\x05", 100);
  write(empty, "", 100);
  CountingDecoder decoder;
  PictureCache cache(decoder.decoder());
  for (int i = 0; i < 3; ++i) {
    const auto picture = cache.load(a);
    ASSERT_TRUE(picture.image);
    EXPECT_EQ(picture.image->height(), 5);
    EXPECT_EQ(picture.fresh, i == 0);
    const auto failed = cache.load(empty);
    EXPECT_FALSE(failed.image);
    EXPECT_EQ(failed.problem, "empty");
    EXPECT_EQ(failed.fresh, i == 0) << "a failure is said once";
  }
  EXPECT_EQ(decoder.calls, 2);

  write(a, "\x07", 50);  // same size, a new time
  EXPECT_EQ(cache.load(a).image->height(), 7);
  write(a, "\x09\x00", 50);  // same time, a new size
  EXPECT_EQ(cache.load(a).image->height(), 9);
  EXPECT_EQ(decoder.calls, 4);
  fs::remove(a);
  EXPECT_FALSE(cache.load(a).image) << "a file gone is not shown from memory";
}

TEST(PictureCache, KeepsTheLastUsedWithinItsLimits) {
  audio_test::ScratchFolder folder;
  CountingDecoder decoder;
  PictureCache cache(decoder.decoder(), 2, 40 * sizeof(formats::Color));
  const fs::path small1 = folder.path() / "1", small2 = folder.path() / "2",
                 small3 = folder.path() / "3", large = folder.path() / "4";
  write(small1, "\x0a", 100), write(small2, "\x0a", 100), write(small3, "\x0a", 100);
  write(large, "\x32", 100);  // 50 pixels: more than the cache holds
  cache.load(small1), cache.load(small2), cache.load(small1), cache.load(small3);
  EXPECT_EQ(decoder.calls, 3);
  cache.load(small1);  // still there: used last but one
  EXPECT_EQ(decoder.calls, 3);
  cache.load(small2);  // pushed out by the third
  EXPECT_EQ(decoder.calls, 4);
  cache.load(large), cache.load(large);
  EXPECT_EQ(decoder.calls, 6);
  EXPECT_EQ(cache.load(large).image->height(), 50);
}

}  // namespace
