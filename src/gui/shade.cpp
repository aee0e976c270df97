#include "gui/shade.h"

namespace gui {

void shade(formats::Image& image, const formats::Rect& r, formats::Color color, int alpha) {
  const formats::Rect a = r.intersect(image.bounds());
  auto mix = [alpha](formats::Color under, formats::Color over, int shift) {
    const int u = static_cast<int>((under >> shift) & 0xff),
              o = static_cast<int>((over >> shift) & 0xff);
    return static_cast<formats::Color>((u * (255 - alpha) + o * alpha) / 255) << shift;
  };
  for (int y = a.y; y < a.y + a.h; ++y) {
    formats::Color* row = image.row(y);
    for (int x = a.x; x < a.x + a.w; ++x)
      row[x] = mix(row[x], color, 16) | mix(row[x], color, 8) | mix(row[x], color, 0);
  }
}

}  // namespace gui
