#include "backends/sdl/pcm_piece.h"

#include <algorithm>

namespace backends::sdl {

namespace {

constexpr int kFullVolume = 128;

}  // namespace

void PcmPiece::append(std::vector<int16_t> samples) {
  const size_t frames = samples.size() / 2;
  std::lock_guard hold(lock_);
  blocks_.push_back(std::move(samples));
  frames_ += frames;
}

void PcmPiece::finish() {
  std::lock_guard hold(lock_);
  finished_ = true;
}

bool PcmPiece::finished() const {
  std::lock_guard hold(lock_);
  return finished_;
}

size_t PcmPiece::framesReady() const {
  std::lock_guard hold(lock_);
  return frames_;
}

size_t PcmPiece::read(size_t at, std::span<int16_t> out, int volume) const {
  std::lock_guard hold(lock_);
  size_t copied = 0;
  const size_t wanted = out.size() / 2;
  while (copied < wanted && at + copied < frames_) {
    const size_t frame = at + copied;
    const size_t index = frame / kBlockFrames;
    const size_t from = frame % kBlockFrames;
    if (index >= blocks_.size() || blocks_[index].size() / 2 <= from) break;  // a short block
    const std::vector<int16_t>& block = blocks_[index];
    const size_t count = std::min(wanted - copied, block.size() / 2 - from);
    const auto source = std::span(block).subspan(from * 2, count * 2);
    auto target = out.subspan(copied * 2, count * 2);
    if (volume >= kFullVolume)
      std::copy(source.begin(), source.end(), target.begin());
    else
      std::transform(source.begin(), source.end(), target.begin(), [volume](int16_t sample) {
        return static_cast<int16_t>(sample * volume / kFullVolume);
      });
    copied += count;
  }
  return copied;
}

}  // namespace backends::sdl
