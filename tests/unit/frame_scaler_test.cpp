// Scaling the frame: whole factors replicate exactly, others filter only at the seams.
#include "gui/frame_scaler.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using formats::Image;
using formats::rgb;
using gui::FrameScaler;

std::vector<uint32_t> scaled(const Image& src, int w, int h) {
  FrameScaler scaler;
  scaler.setSize(src.width(), src.height(), w, h);
  std::vector<uint32_t> out(static_cast<size_t>(w) * h, 0xdeadbeef);
  scaler.scale(src, out.data(), w, 0, h);
  return out;
}

// Four columns: black, white, red, blue; two rows alike.
Image stripes() {
  Image img(4, 2);
  const formats::Color colours[] = {rgb(0, 0, 0), rgb(255, 255, 255), rgb(255, 0, 0),
                                    rgb(0, 0, 255)};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) img.set(x, y, colours[x]);
  return img;
}

TEST(FrameScaler, WholeFactorsReplicateEveryPixel) {
  const Image src = stripes();
  for (int k : {1, 2, 3}) {
    auto out = scaled(src, 4 * k, 2 * k);
    for (int y = 0; y < 2 * k; ++y)
      for (int x = 0; x < 4 * k; ++x)
        EXPECT_EQ(out[y * 4 * k + x], src.at(x / k, y / k)) << k << ": " << x << "," << y;
  }
}

/* At 1.5 (replicated by 2, then filtered) a pixel inside a stripe keeps its colour, and
   only the pixels on a seam mix the two neighbours; nothing is left unwritten. */
TEST(FrameScaler, OtherFactorsBlendOnlyAtTheSeams) {
  const Image src = stripes();
  auto out = scaled(src, 6, 3);
  int pure = 0, mixed = 0;
  for (uint32_t p : out) {
    ASSERT_NE(p, 0xdeadbeefu);
    bool isSource = false;
    for (int x = 0; x < 4; ++x) isSource = isSource || p == src.at(x, 0);
    (isSource ? pure : mixed) += 1;
  }
  EXPECT_GT(pure, mixed);
  EXPECT_EQ(out[0], rgb(0, 0, 0));
  EXPECT_EQ(out[5], rgb(0, 0, 255));
  // A uniform picture stays uniform at any factor.
  Image grey(5, 5, rgb(90, 90, 90));
  for (uint32_t p : scaled(grey, 8, 7)) EXPECT_EQ(p, rgb(90, 90, 90));
}

}  // namespace
