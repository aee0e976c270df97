#include "formats/gif_decoder.h"

#include <array>
#include <vector>

namespace formats {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

uint32_t little16(std::span<const uint8_t> b, size_t at) {
  return b[at] | (uint32_t{b[at + 1]} << 8);
}

/* The codes of an image, least significant bit first, from its data sub-blocks up to the
   first empty one or the end of the file. */
class CodeReader {
 public:
  CodeReader(std::span<const uint8_t> gif, size_t at) : gif_(gif), at_(at) {}

  int next(int bits) {
    while (have_ < bits) {
      if (left_ == 0) {
        if (done_ || at_ >= gif_.size() || gif_[at_] == 0) {
          done_ = true;
          return -1;
        }
        left_ = gif_[at_++];
      }
      if (at_ >= gif_.size()) {
        done_ = true;
        return -1;
      }
      buffer_ |= uint32_t{gif_[at_++]} << have_;
      have_ += 8;
      --left_;
    }
    const int code = static_cast<int>(buffer_ & ((1u << bits) - 1));
    buffer_ >>= bits;
    have_ -= bits;
    return code;
  }

 private:
  std::span<const uint8_t> gif_;
  size_t at_;
  size_t left_ = 0;  // bytes left in the current sub-block
  uint32_t buffer_ = 0;
  int have_ = 0;
  bool done_ = false;
};

/* Where each decoded index goes: rows in order, or in the four passes of interlacing. */
class Placer {
 public:
  Placer(uint32_t width, uint32_t height, bool interlaced)
      : width_(width), height_(height), interlaced_(interlaced) {}
  bool done() const { return y_ >= height_; }
  size_t position() const { return static_cast<size_t>(y_) * width_ + x_; }
  void advance() {
    if (++x_ < width_) return;
    x_ = 0;
    if (!interlaced_) {
      ++y_;
      return;
    }
    static constexpr uint32_t kStep[] = {8, 8, 4, 2}, kStart[] = {0, 4, 2, 1};
    y_ += kStep[pass_];
    while (y_ >= height_ && pass_ < 3) y_ = kStart[++pass_];
  }

 private:
  uint32_t width_, height_;
  bool interlaced_;
  uint32_t x_ = 0, y_ = 0;
  int pass_ = 0;
};

/* LZW with the variable code width; a code not yet in the table stands for the previous
   string plus its own first index, as a code one past the table's end does. Table entries
   only ever point at earlier entries, and a chain is never followed for longer than the
   table, so no stream can make this loop or overrun. */
std::vector<uint8_t> decodeIndexes(std::span<const uint8_t> gif, const GifImageAt& at) {
  std::vector<uint8_t> indexes(static_cast<size_t>(at.width) * at.height, 0);
  const int minimum = gif[at.data];
  const int clear = 1 << minimum, end = clear + 1;
  std::array<uint16_t, kTableSize> prefix{};
  std::array<uint8_t, kTableSize> suffix{};
  for (int i = 0; i < clear && i < kTableSize; ++i) suffix[i] = static_cast<uint8_t>(i);
  std::vector<uint8_t> string;
  string.reserve(kTableSize);
  CodeReader codes(gif, at.data + 1);
  Placer place(at.width, at.height, at.interlaced);
  int bits = minimum + 1, next = clear + 2, previous = -1;
  uint8_t first = 0;
  while (!place.done()) {
    const int code = codes.next(bits);
    if (code < 0 || code == end) break;
    if (code == clear) {
      bits = minimum + 1, next = clear + 2, previous = -1;
      continue;
    }
    string.clear();
    if (previous < 0) {
      if (code > clear) break;  // a stream must start with an index of its own
      string.push_back(static_cast<uint8_t>(code));
    } else {
      int walk = code;
      if (code >= next) {
        string.push_back(first);
        walk = previous;
      }
      while (walk > end && string.size() < kTableSize) {
        string.push_back(suffix[walk]);
        walk = prefix[walk];
      }
      if (walk >= clear) break;  // a broken chain
      string.push_back(static_cast<uint8_t>(walk));
      if (next < kTableSize) {
        prefix[next] = static_cast<uint16_t>(previous);
        suffix[next] = string.back();
        if (++next >= (1 << bits) && bits < kMaxCodeBits) ++bits;
      }
    }
    first = string.back();
    previous = code < next ? code : next - 1;
    for (auto it = string.rbegin(); it != string.rend() && !place.done(); ++it) {
      indexes[place.position()] = *it;
      place.advance();
    }
  }
  return indexes;
}

}  // namespace

std::optional<GifImageAt> findGifImage(std::span<const uint8_t> b) {
  if (b.size() < 13) return std::nullopt;
  size_t at = 13;
  const size_t screenColours = size_t{2} << (b[10] & 7);
  const size_t globalTable = (b[10] & 0x80) ? at : 0;
  if (globalTable) at += 3 * screenColours;
  if (at > b.size()) return std::nullopt;
  // A data sub-block: its size, then that many bytes; the size, or -1 at the end.
  auto block = [&]() -> int {
    if (at >= b.size()) return -1;
    const size_t count = b[at++];
    if (count > b.size() - at) {
      at = b.size();
      return -1;
    }
    at += count;
    return static_cast<int>(count);
  };
  while (at < b.size()) {
    const uint8_t c = b[at++];
    if (c == ';') break;
    if (c == '!') {
      if (at >= b.size()) break;
      if (b[at++] == 0xf9) block();  // its first block is read whatever its size
      while (block() > 0) {
      }
      continue;
    }
    if (c != ',' || b.size() - at < 9) {
      if (c == ',') break;
      continue;
    }
    GifImageAt image{little16(b, at + 4),    little16(b, at + 6), globalTable, screenColours, 0,
                     (b[at + 8] & 0x40) != 0};
    const uint8_t flags = b[at + 8];
    at += 9;
    if (flags & 0x80) {
      image.colours = at;
      image.colourCount = size_t{2} << (flags & 7);
      at += 3 * image.colourCount;
      if (at > b.size()) break;
    }
    if (at >= b.size()) break;
    image.data = at++;
    if (b[image.data] > kMaxCodeBits || image.width == 0 || image.height == 0) continue;
    return image;
  }
  return std::nullopt;
}

std::optional<Image> decodeGif(std::span<const uint8_t> gif) {
  const auto at = findGifImage(gif);
  if (!at) return std::nullopt;
  std::array<Color, 256> palette;
  palette.fill(rgb(255, 255, 255));
  for (size_t i = 0; i < at->colourCount && i < palette.size(); ++i) {
    if (!at->colours) {
      palette[i] = rgb(0, 0, 0);  // a table the screen announces but does not hold
      continue;
    }
    const size_t c = at->colours + 3 * i;
    palette[i] = rgb(gif[c], gif[c + 1], gif[c + 2]);
  }
  const std::vector<uint8_t> indexes = decodeIndexes(gif, *at);
  Image image(static_cast<int>(at->width), static_cast<int>(at->height));
  for (uint32_t y = 0; y < at->height; ++y) {
    Color* row = image.row(static_cast<int>(y));
    for (uint32_t x = 0; x < at->width; ++x)
      row[x] = palette[indexes[static_cast<size_t>(y) * at->width + x]];
  }
  return image;
}

}  // namespace formats
