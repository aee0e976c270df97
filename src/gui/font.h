#pragma once
// The two Japanese design faces at a pixel size, drawn crisp: 1-bit glyphs laid out one
// by one from the font's own advances.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/run_end.h"
#include "formats/image.h"
#include "platform/port.h"

namespace gui {

using Face = platform::FontFace;

struct FontSpec {
  Face face = Face::Gothic;
  double points = 12;  // requested size; the font is made at the nearest pixel size
  bool italic = false;
  bool operator==(const FontSpec&) const = default;
};

// Pixel size of a point size at 96 dots per inch, and the point size read back.
int pixelsForPoints(double points);
double pointsForPixels(int pixels);

class Font {
 public:
  // Throws FontMissing when the face cannot be found or opened.
  static std::shared_ptr<Font> get(const FontSpec& spec);
  ~Font();

  double points() const { return pointsForPixels(pixels_); }
  int height() const { return height_; }
  int advance(char32_t c);
  int measure(std::u32string_view text);
  // Draws the text with its top-left corner at (x, y); returns the width drawn.
  int draw(formats::Image& target, int x, int y, std::u32string_view text, formats::Color color,
           const formats::Rect& clip);

 private:
  struct Glyph {
    int advance = 0, width = 0, height = 0;
    std::vector<uint8_t> mask;  // 1 where the glyph sets a pixel
  };
  Font(void* ttf, int pixels, bool italic);
  const Glyph& glyph(char32_t c);

  void* ttf_;  // TTF_Font
  int pixels_;
  int height_;
  bool italic_;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

// A face that cannot be found or opened keeps the program from running.
struct FontMissing : engine::FatalError {
  explicit FontMissing(const std::string& message)
      : engine::FatalError(engine::kExitUsage, message) {}
};

}  // namespace gui
