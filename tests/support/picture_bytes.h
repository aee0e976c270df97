#pragma once
// Picture files written byte by byte, for tests of what their headers say: any size can
// be claimed without the pixels to match.
#include <cstdint>
#include <string>

namespace picture_bytes {

inline void put(std::string& out, uint32_t value, int bytes, bool bigEndian = false) {
  for (int i = 0; i < bytes; ++i) {
    const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
    out += static_cast<char>((value >> shift) & 0xff);
  }
}

// A BMP of header alone: 54 bytes claiming width x height (height < 0: top-down) at 32 bits.
inline std::string bmp(int32_t width, int32_t height) {
  std::string b = "BM";
  put(b, 54, 4), put(b, 0, 4), put(b, 54, 4);
  put(b, 40, 4), put(b, static_cast<uint32_t>(width), 4), put(b, static_cast<uint32_t>(height), 4);
  put(b, 1, 2), put(b, 32, 2);
  put(b, 0, 4), put(b, 0, 4), put(b, 2835, 4), put(b, 2835, 4), put(b, 0, 4), put(b, 0, 4);
  return b;
}

// A GIF whose screen claims `width` x `height` and whose only image claims `imageWidth` x
// `imageHeight`, after `extensions` (whole extension blocks), with two bytes of image data.
inline std::string gif(uint16_t width, uint16_t height, uint16_t imageWidth, uint16_t imageHeight,
                       const std::string& extensions = "") {
  std::string g = "GIF89a";
  put(g, width, 2), put(g, height, 2);
  g += std::string("\x80\x00\x00", 3);  // a global table of two colours
  g += std::string("\x00\x00\x00\xff\xff\xff", 6);
  g += extensions + ',';
  put(g, 0, 2), put(g, 0, 2), put(g, imageWidth, 2), put(g, imageHeight, 2);
  g += std::string("\x00\x02\x02\x4c\x01\x00;", 7);
  return g;
}

inline std::string gif(uint16_t width, uint16_t height) {
  return gif(width, height, width, height);
}

inline uint32_t crc32(const std::string& bytes) {
  uint32_t crc = 0xffffffff;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

inline std::string pngChunk(const std::string& type, const std::string& data) {
  std::string c;
  put(c, static_cast<uint32_t>(data.size()), 4, true);
  c += type + data;
  put(c, crc32(type + data), 4, true);
  return c;
}

// Two rows of two grey pixels, stored uncompressed in a zlib stream.
inline const std::string kTwoByTwo(
    "\x78\x01\x01\x06\x00\xf9\xff\x00\x10\x20\x00\x30\x40\x01\x76\x00\xa1", 17);

// A PNG of width x height 8-bit grey pixels whose image data is `idat` (a zlib stream).
inline std::string png(uint32_t width, uint32_t height, const std::string& idat = kTwoByTwo) {
  std::string header;
  put(header, width, 4, true), put(header, height, 4, true);
  header += std::string("\x08\x00\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", idat) +
         pngChunk("IEND", "");
}

// The start of a JPEG: SOI, the given segments, then a frame header of `marker` (SOF0 is
// 0xc0) claiming width x height.
inline std::string jpeg(uint16_t width, uint16_t height, uint8_t marker = 0xc0,
                        const std::string& segments = "") {
  std::string j("\xff\xd8", 2);
  j += segments;
  j += '\xff', j += static_cast<char>(marker);
  put(j, 11, 2, true), j += '\x08';
  put(j, height, 2, true), put(j, width, 2, true);
  j += std::string("\x01\x01\x11\x00", 4);
  return j;
}

}  // namespace picture_bytes
