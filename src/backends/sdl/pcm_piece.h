#pragma once
// A piece of music held as samples (16-bit, two channels interleaved), rendered block by
// block on one thread and read on the audio thread, which may start on the first block
// while the rest is still being rendered. Blocks never change once added.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace backends::sdl {

class PcmPiece {
 public:
  // Frames in every block but the last.
  static constexpr size_t kBlockFrames = 16384;

  // Adds the next block: kBlockFrames frames, or fewer for the last one (then finish()).
  void append(std::vector<int16_t> samples);
  // No more blocks come.
  void finish();

  bool finished() const;
  size_t framesReady() const;
  // Copies the frames from frame `at` on into `out` (whole frames), each sample scaled by
  // volume / 128; the frames copied, fewer than asked where no more are rendered yet or
  // at the piece's end.
  size_t read(size_t at, std::span<int16_t> out, int volume) const;

 private:
  mutable std::mutex lock_;
  std::vector<std::vector<int16_t>> blocks_;
  size_t frames_ = 0;
  bool finished_ = false;
};

}  // namespace backends::sdl
