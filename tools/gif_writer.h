#pragma once
// Header-only GIF87a writer for the asset generators: one indexed image, a global colour table,
// a variable-width LZW encoder. No dependencies beyond the standard library.
//
//   gif::IndexedImage img{width, height, palette, pixels};
//   std::vector<uint8_t> bytes = gif::encodeGif87a(img, 8);
//   gif::writeFile("out.gif", bytes);

#include <cstdint>
#include <fstream>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace gif {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

/* One picture as palette indices, row by row from the top-left corner. */
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;     // 1 to 256 entries; padded with black to a power of two
  std::vector<uint8_t> pixels;  // width * height indices into palette
};

namespace detail {

/* Packs codes least-significant bit first, as GIF decoders read them. */
class BitPacker {
 public:
  void put(unsigned code, int width) {
    acc_ |= static_cast<uint32_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      bytes_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }
  std::vector<uint8_t> finish() {
    if (bits_ > 0) bytes_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
    acc_ = 0;
    bits_ = 0;
    return std::move(bytes_);
  }

 private:
  std::vector<uint8_t> bytes_;
  uint32_t acc_ = 0;
  int bits_ = 0;
};

inline void putU16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

/* Smallest n >= 1 with 2^n >= count: the colour table holds 2^n entries. */
inline int tableBits(size_t count) {
  int n = 1;
  while ((size_t{1} << n) < count) ++n;
  return n;
}

}  // namespace detail

/* The LZW code stream of a GIF image (before splitting into sub-blocks). Starts with a clear
   code, widens codes as the table grows, starts a new table with a clear code when it reaches
   4096 entries, ends with the end code. */
inline std::vector<uint8_t> lzwEncode(std::span<const uint8_t> indices, int minCodeSize) {
  if (minCodeSize < 2 || minCodeSize > 8) throw std::invalid_argument("gif: min code size 2..8");
  const unsigned clearCode = 1u << minCodeSize;
  const unsigned endCode = clearCode + 1;
  constexpr unsigned kMaxCodes = 4096;
  detail::BitPacker out;
  std::unordered_map<uint32_t, uint16_t> table;  // (prefix code << 8 | index) -> code
  table.reserve(kMaxCodes);
  int width = minCodeSize + 1;
  unsigned next = endCode + 1;
  auto reset = [&] {
    table.clear();
    width = minCodeSize + 1;
    next = endCode + 1;
  };
  out.put(clearCode, width);
  if (indices.empty()) {
    out.put(endCode, width);
    return out.finish();
  }
  for (uint8_t v : indices)
    if (v >= clearCode) throw std::invalid_argument("gif: pixel index exceeds min code size");
  unsigned prefix = indices[0];
  for (size_t i = 1; i < indices.size(); ++i) {
    const uint32_t key = (prefix << 8) | indices[i];
    if (auto it = table.find(key); it != table.end()) {
      prefix = it->second;
      continue;
    }
    out.put(prefix, width);
    table.emplace(key, static_cast<uint16_t>(next));
    ++next;
    if (next > (1u << width) && width < 12) ++width;
    if (next == kMaxCodes) {
      out.put(clearCode, width);
      reset();
    }
    prefix = indices[i];
  }
  out.put(prefix, width);
  // The decoder adds one entry per code after the first; keep its width in step before the end.
  if (next + 1 > (1u << width) && width < 12 && next < kMaxCodes) ++width;
  out.put(endCode, width);
  return out.finish();
}

/* A whole GIF87a file: header, logical screen with the global colour table, one image block at
   (0, 0) covering the screen, not interlaced, and the trailer. The colour resolution field
   states as many bits as the (padded) table has index bits. */
inline std::vector<uint8_t> encodeGif87a(const IndexedImage& img, int minCodeSize) {
  if (img.width <= 0 || img.height <= 0 || img.width > 0xFFFF || img.height > 0xFFFF)
    throw std::invalid_argument("gif: bad image size");
  if (img.palette.empty() || img.palette.size() > 256)
    throw std::invalid_argument("gif: palette needs 1..256 entries");
  if (img.pixels.size() != static_cast<size_t>(img.width) * static_cast<size_t>(img.height))
    throw std::invalid_argument("gif: pixel count does not match the size");
  for (uint8_t v : img.pixels)
    if (v >= img.palette.size()) throw std::invalid_argument("gif: pixel index outside palette");

  const int bits = detail::tableBits(img.palette.size());
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '7', 'a'};
  detail::putU16(out, img.width);
  detail::putU16(out, img.height);
  out.push_back(static_cast<uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
  out.push_back(0);  // background colour index
  out.push_back(0);  // pixel aspect ratio: not given
  for (size_t i = 0; i < (size_t{1} << bits); ++i) {
    const Rgb c = i < img.palette.size() ? img.palette[i] : Rgb{};
    out.insert(out.end(), {c.r, c.g, c.b});
  }

  out.push_back(0x2C);  // image separator
  detail::putU16(out, 0);
  detail::putU16(out, 0);
  detail::putU16(out, img.width);
  detail::putU16(out, img.height);
  out.push_back(0);  // no local table, not interlaced

  out.push_back(static_cast<uint8_t>(minCodeSize));
  const std::vector<uint8_t> data = lzwEncode(img.pixels, minCodeSize);
  for (size_t pos = 0; pos < data.size(); pos += 255) {
    const size_t n = std::min<size_t>(255, data.size() - pos);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
               data.begin() + static_cast<std::ptrdiff_t>(pos + n));
  }
  out.push_back(0);     // block terminator
  out.push_back(0x3B);  // trailer
  return out;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("gif: cannot open " + path);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("gif: cannot write " + path);
}

}  // namespace gif
