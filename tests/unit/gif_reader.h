#pragma once
// A strict reader for single-image GIF files, written independently of the writer in tools/ so
// tests can check its output: every header field is kept, and the LZW stream is decoded with
// the usual variable code width, rejecting codes that are not yet in the table.

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace testgif {

struct Gif {
  std::string signature;
  int screenWidth = 0, screenHeight = 0;
  uint8_t screenPacked = 0, background = 0, aspect = 0;
  std::vector<std::array<uint8_t, 3>> palette;
  int left = 0, top = 0, width = 0, height = 0;
  uint8_t imagePacked = 0;
  int minCodeSize = 0;
  std::vector<size_t> subBlockSizes;
  int clearCodes = 0;            // clear codes met in the stream, the first one included
  bool endCodeSeen = false;      // the stream ended with the end code
  size_t bytesAfterTrailer = 0;  // anything after the trailer byte
  std::vector<uint8_t> pixels;
};

namespace detail {

class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> b) : b_(b) {}
  uint8_t u8() {
    if (pos_ >= b_.size()) throw std::runtime_error("gif: unexpected end of file");
    return b_[pos_++];
  }
  int u16() {
    const int lo = u8();
    return lo | (u8() << 8);
  }
  size_t left() const { return b_.size() - pos_; }

 private:
  std::span<const uint8_t> b_;
  size_t pos_ = 0;
};

/* Reads codes least-significant bit first. */
class BitReader {
 public:
  explicit BitReader(const std::vector<uint8_t>& d) : d_(d) {}
  int read(int width) {
    if (pos_ + static_cast<size_t>(width) > d_.size() * 8)
      throw std::runtime_error("gif: code stream ends without an end code");
    int code = 0;
    for (int i = 0; i < width; ++i, ++pos_) code |= ((d_[pos_ >> 3] >> (pos_ & 7)) & 1) << i;
    return code;
  }

 private:
  const std::vector<uint8_t>& d_;
  size_t pos_ = 0;
};

/* Decodes the LZW data of one image; a table entry is its prefix code and last index. */
inline void decodeLzw(const std::vector<uint8_t>& data, Gif& g, size_t pixelCount) {
  const int clear = 1 << g.minCodeSize, end = clear + 1;
  std::vector<int> prefix(4096, -1);
  std::vector<uint8_t> suffix(4096), first(4096);
  for (int i = 0; i < clear; ++i) suffix[i] = first[i] = static_cast<uint8_t>(i);
  BitReader in(data);
  int width = g.minCodeSize + 1, next = end + 1, prev = -1;
  std::vector<uint8_t> run;
  for (;;) {
    const int code = in.read(width);
    if (code == clear) {
      ++g.clearCodes;
      width = g.minCodeSize + 1;
      next = end + 1;
      prev = -1;
      continue;
    }
    if (code == end) {
      g.endCodeSeen = true;
      break;
    }
    if (g.clearCodes == 0) throw std::runtime_error("gif: code stream does not start with clear");
    if (prev < 0 && code >= clear) throw std::runtime_error("gif: first code is not a pixel");
    if (code > next || (code == next && (prev < 0 || next >= 4096)))
      throw std::runtime_error("gif: code not in table");
    if (prev >= 0 && next < 4096) {
      prefix[next] = prev;
      first[next] = first[prev];
      suffix[next] = code == next ? first[prev] : first[code];
      ++next;
      if (next == (1 << width) && width < 12) ++width;
    }
    run.clear();
    for (int c = code; c >= 0; c = prefix[c]) run.push_back(suffix[c]);
    g.pixels.insert(g.pixels.end(), run.rbegin(), run.rend());
    if (g.pixels.size() > pixelCount) throw std::runtime_error("gif: too many pixels");
    prev = code;
  }
  if (g.pixels.size() != pixelCount) throw std::runtime_error("gif: too few pixels");
}

}  // namespace detail

/* Reads a GIF with a global colour table and one image block (no extensions). */
inline Gif readGif(std::span<const uint8_t> bytes) {
  detail::Cursor in(bytes);
  Gif g;
  for (int i = 0; i < 6; ++i) g.signature += static_cast<char>(in.u8());
  g.screenWidth = in.u16();
  g.screenHeight = in.u16();
  g.screenPacked = in.u8();
  g.background = in.u8();
  g.aspect = in.u8();
  if (g.screenPacked & 0x80) {
    const int n = 2 << (g.screenPacked & 7);
    for (int i = 0; i < n; ++i) g.palette.push_back({in.u8(), in.u8(), in.u8()});
  }
  if (in.u8() != 0x2C) throw std::runtime_error("gif: image separator expected");
  g.left = in.u16();
  g.top = in.u16();
  g.width = in.u16();
  g.height = in.u16();
  g.imagePacked = in.u8();
  if (g.imagePacked & 0x80) throw std::runtime_error("gif: local colour tables not supported");
  g.minCodeSize = in.u8();
  if (g.minCodeSize < 2 || g.minCodeSize > 8) throw std::runtime_error("gif: bad min code size");
  std::vector<uint8_t> data;
  for (uint8_t n = in.u8(); n != 0; n = in.u8()) {
    g.subBlockSizes.push_back(n);
    for (int i = 0; i < n; ++i) data.push_back(in.u8());
  }
  if (in.u8() != 0x3B) throw std::runtime_error("gif: trailer expected");
  g.bytesAfterTrailer = in.left();
  detail::decodeLzw(data, g, static_cast<size_t>(g.width) * static_cast<size_t>(g.height));
  return g;
}

}  // namespace testgif
