#include "formats/image.h"

#include <algorithm>
#include <cstdlib>

namespace formats {

Rect Rect::intersect(const Rect& o) const {
  int x1 = std::max(x, o.x), y1 = std::max(y, o.y);
  int x2 = std::min(x + w, o.x + o.w), y2 = std::min(y + h, o.y + o.h);
  return {x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1)};
}

Image::Image(int width, int height, Color fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

Image Image::shrunk(int factor) const {
  if (factor <= 1) return *this;
  Image out(width_ / factor, height_ / factor);
  const int n = factor * factor;
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      int r = 0, g = 0, b = 0;
      for (int dy = 0; dy < factor; ++dy)
        for (int dx = 0; dx < factor; ++dx) {
          const Color c = at(x * factor + dx, y * factor + dy);
          r += (c >> 16) & 0xff, g += (c >> 8) & 0xff, b += c & 0xff;
        }
      out.set(x, y, rgb(r / n, g / n, b / n));
    }
  return out;
}

Image Image::enlarged(int factor) const {
  if (factor <= 1) return *this;
  Image out(width_ * factor, height_ * factor);
  for (int y = 0; y < out.height(); ++y) {
    const Color* src = row(y / factor);
    Color* dst = out.row(y);
    for (int x = 0; x < out.width(); ++x) dst[x] = src[x / factor];
  }
  return out;
}

void Image::fill(const Rect& r, Color c) {
  Rect d = r.intersect(bounds());
  for (int y = d.y; y < d.y + d.h; ++y) std::fill(row(y) + d.x, row(y) + d.x + d.w, c);
}

void Image::frameRect(const Rect& r, Color c) {
  if (r.empty()) return;
  fill({r.x, r.y, r.w, 1}, c);
  fill({r.x, r.y + r.h - 1, r.w, 1}, c);
  fill({r.x, r.y, 1, r.h}, c);
  fill({r.x + r.w - 1, r.y, 1, r.h}, c);
}

void Image::line(int x1, int y1, int x2, int y2, Color c) {
  // Bresenham; horizontal lines (the common case) take the fill path.
  if (y1 == y2) {
    fill({std::min(x1, x2), y1, std::abs(x2 - x1) + 1, 1}, c);
    return;
  }
  int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    set(x1, y1, c);
    if (x1 == x2 && y1 == y2) break;
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x1 += sx;
    if (e2 <= dx) err += dx, y1 += sy;
  }
}

void Image::paint(const Image& src, int dx, int dy, int w, int h, int sx, int sy, RasterOp op) {
  if (op == RasterOp::DstInvert) {
    Rect d = Rect{dx, dy, w, h}.intersect(bounds());
    for (int y = d.y; y < d.y + d.h; ++y)
      for (Color* p = row(y) + d.x; p != row(y) + d.x + d.w; ++p) *p = ~*p & 0xffffff;
    return;
  }
  // Clip the source rectangle to the source, moving the destination along with it.
  Rect s = Rect{sx, sy, w, h}.intersect(src.bounds());
  Rect d = Rect{dx + (s.x - sx), dy + (s.y - sy), s.w, s.h}.intersect(bounds());
  for (int y = d.y; y < d.y + d.h; ++y) {
    const Color* from = src.row(y - dy + sy) + (d.x - dx + sx);
    std::copy(from, from + d.w, row(y) + d.x);
  }
}

void Image::blit(const Image& src, int dx, int dy, const Rect& clip) {
  Rect d = Rect{dx, dy, src.width(), src.height()}.intersect(clip).intersect(bounds());
  for (int y = d.y; y < d.y + d.h; ++y) {
    const Color* from = src.row(y - dy) + (d.x - dx);
    std::copy(from, from + d.w, row(y) + d.x);
  }
}

}  // namespace formats
