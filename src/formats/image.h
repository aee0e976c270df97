#pragma once
// A plain 32-bit RGB raster: the frame of the window, the canvas of a picture box,
// a loaded picture. Pixels are 0x00RRGGBB, row by row.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace formats {

using Color = uint32_t;

constexpr Color rgb(int r, int g, int b) {
  return (static_cast<Color>(r & 0xff) << 16) | (static_cast<Color>(g & 0xff) << 8) |
         static_cast<Color>(b & 0xff);
}

struct Point {
  int x = 0, y = 0;
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  Rect intersect(const Rect& o) const;
  bool empty() const { return w <= 0 || h <= 0; }
  Point centre() const { return {x + w / 2, y + h / 2}; }
};

enum class RasterOp { Copy, DstInvert };

// How pixels become opaque or not when an image leaves for a surface or a file: the
// pointer and icon images mark their transparent pixels with pure magenta.
enum class Transparency { Opaque, MagentaIsClear };

class Image {
 public:
  Image() = default;
  Image(int width, int height, Color fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  Rect bounds() const { return {0, 0, width_, height_}; }

  Color at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  void set(int x, int y, Color c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
      pixels_[static_cast<size_t>(y) * width_ + x] = c;
  }
  const std::vector<Color>& pixels() const { return pixels_; }
  Color* row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Color* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

  void fill(const Rect& r, Color c);
  // The one-pixel outline of a rectangle, clipped.
  void frameRect(const Rect& r, Color c);
  // A one-pixel line between two points, end point included, clipped.
  void line(int x1, int y1, int x2, int y2, Color c);
  // Copies the source rectangle (sx, sy, w, h) of `src` to (dx, dy), clipped on both sides,
  // or inverts the destination rectangle with DstInvert (the source is then ignored).
  void paint(const Image& src, int dx, int dy, int w, int h, int sx, int sy, RasterOp op);
  // The image made `factor` times smaller, each pixel the average of the ones it covers.
  Image shrunk(int factor) const;
  // The image made `factor` times larger, each pixel a square of factor x factor pixels.
  Image enlarged(int factor) const;
  // Copies all of `src` to (dx, dy), clipped to `clip` (in this image's coordinates).
  void blit(const Image& src, int dx, int dy, const Rect& clip);

  bool operator==(const Image&) const = default;

 private:
  int width_ = 0, height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace formats
