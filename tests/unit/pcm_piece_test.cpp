// A rendered piece is read across its blocks, while blocks still come, and again from its
// beginning when it loops.
#include "backends/sdl/pcm_piece.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using backends::sdl::PcmPiece;
constexpr size_t kBlock = PcmPiece::kBlockFrames;

// A piece of `frames` frames whose left sample is the frame's number (mod 30000) and whose
// right sample is its negative, in blocks as a renderer adds them.
void fill(PcmPiece& piece, size_t frames, bool finish) {
  for (size_t first = 0; first < frames; first += kBlock) {
    std::vector<int16_t> block;
    for (size_t frame = first; frame < std::min(frames, first + kBlock); ++frame) {
      block.push_back(static_cast<int16_t>(frame % 30000));
      block.push_back(static_cast<int16_t>(-static_cast<int>(frame % 30000)));
    }
    piece.append(std::move(block));
  }
  if (finish) piece.finish();
}

TEST(PcmPiece, ReadsWholeFramesAcrossBlocksToTheEnd) {
  struct Case {
    const char* what;
    size_t frames, at, wanted, copied;
  };
  const Case cases[] = {
      {"within a block", 3 * kBlock, 10, 100, 100},
      {"across a block's end", 3 * kBlock, kBlock - 7, 20, 20},
      {"across two blocks' ends", 3 * kBlock + 5, kBlock - 1, kBlock + 2, kBlock + 2},
      {"up to a short last block's end", 2 * kBlock + 5, 2 * kBlock, 100, 5},
      {"past the end", kBlock, kBlock, 10, 0},
      {"far past the end", kBlock, 5 * kBlock, 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PcmPiece piece;
    fill(piece, c.frames, true);
    std::vector<int16_t> out(c.wanted * 2, 1234);
    ASSERT_EQ(piece.read(c.at, out, 128), c.copied);
    for (size_t i = 0; i < c.copied; ++i) {
      ASSERT_EQ(out[2 * i], static_cast<int16_t>((c.at + i) % 30000)) << "frame " << i;
      ASSERT_EQ(out[2 * i + 1], static_cast<int16_t>(-static_cast<int>((c.at + i) % 30000)));
    }
    for (size_t i = c.copied * 2; i < out.size(); ++i) ASSERT_EQ(out[i], 1234) << "untouched";
  }
}

/* The audio thread reads what is rendered so far and goes on where it stopped once more
   comes; a loop reads from the first frame again, the seam without a gap or a repeat. */
TEST(PcmPiece, PlaysOnAsBlocksComeAndLoopsWithoutASeam) {
  PcmPiece piece;
  fill(piece, kBlock, false);
  std::vector<int16_t> pass;
  std::vector<int16_t> out(2 * 1000);
  size_t at = 0;
  for (size_t copied; (copied = piece.read(at, out, 128)) > 0; at += copied)
    pass.insert(pass.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(copied * 2));
  EXPECT_EQ(at, kBlock) << "stops where rendering stopped";
  EXPECT_FALSE(piece.finished());

  std::vector<int16_t> last(kBlock * 2);
  for (size_t i = 0; i < kBlock; ++i) last[2 * i] = last[2 * i + 1] = 7;
  piece.append(std::vector<int16_t>(last.begin(), last.begin() + 20));
  piece.finish();
  EXPECT_EQ(piece.read(at, out, 128), 10u) << "goes on once the last block comes";
  EXPECT_TRUE(piece.finished());

  std::vector<int16_t> again(pass.size());
  EXPECT_EQ(piece.read(0, again, 128), kBlock);
  EXPECT_EQ(again, pass) << "a second pass is the first";
}

TEST(PcmPiece, ScalesByTheMusicVolume) {
  PcmPiece piece;
  piece.append({20000, -20000, 127, -128});
  piece.finish();
  const std::pair<int, std::vector<int16_t>> cases[] = {
      {128, {20000, -20000, 127, -128}},
      {64, {10000, -10000, 63, -64}},
      {0, {0, 0, 0, 0}},
  };
  for (const auto& [volume, expected] : cases) {
    std::vector<int16_t> out(4);
    EXPECT_EQ(piece.read(0, out, volume), 2u);
    EXPECT_EQ(out, expected) << "volume " << volume;
  }
}

}  // namespace
