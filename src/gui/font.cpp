#include "gui/font.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cmath>
#include <map>

namespace gui {

int pixelsForPoints(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }
double pointsForPixels(int pixels) { return pixels * 72.0 / 96.0; }

std::shared_ptr<Font> Font::get(const FontSpec& spec) {
  static std::map<std::tuple<int, int, bool>, std::shared_ptr<Font>> cache;
  int px = pixelsForPoints(spec.points);
  auto key = std::make_tuple(static_cast<int>(spec.face), px, spec.italic);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  if (!TTF_WasInit() && TTF_Init() != 0)
    throw FontMissing(std::string("cannot start the font renderer: ") + TTF_GetError());
  std::string file = findFontFile(spec.face);
  const char* name = spec.face == Face::Gothic ? "IPAGothic" : "IPAMincho";
  if (file.empty())
    throw FontMissing(std::string("the Japanese font ") + name + " was not found; " +
                      fontMissingAdvice(spec.face));
  TTF_Font* ttf = TTF_OpenFont(file.c_str(), px);
  if (!ttf) throw FontMissing(std::string("cannot open the font ") + file + ": " + TTF_GetError());
  TTF_SetFontHinting(ttf, TTF_HINTING_MONO);
  auto font = std::shared_ptr<Font>(new Font(ttf, px, spec.italic));
  cache[key] = font;
  return font;
}

Font::Font(void* ttf, int pixels, bool italic)
    : ttf_(ttf),
      pixels_(pixels),
      height_(TTF_FontHeight(static_cast<TTF_Font*>(ttf))),
      italic_(italic) {
  if (italic_) TTF_SetFontStyle(static_cast<TTF_Font*>(ttf_), TTF_STYLE_ITALIC);
}

Font::~Font() { TTF_CloseFont(static_cast<TTF_Font*>(ttf_)); }

const Font::Glyph& Font::glyph(char32_t c) {
  if (auto it = glyphs_.find(c); it != glyphs_.end()) return it->second;
  Glyph g;
  TTF_Font* f = static_cast<TTF_Font*>(ttf_);
  Uint32 code = c;
  if (!TTF_GlyphIsProvided32(f, code)) code = U'\uFFFD';
  int minx, maxx, miny, maxy, adv;
  if (TTF_GlyphMetrics32(f, code, &minx, &maxx, &miny, &maxy, &adv) == 0) g.advance = adv;
  SDL_Color white{255, 255, 255, 255};
  if (SDL_Surface* s = TTF_RenderGlyph32_Solid(f, code, white)) {
    g.width = s->w;
    g.height = s->h;
    g.mask.resize(static_cast<size_t>(s->w) * s->h);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
      const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
      for (int x = 0; x < s->w; ++x) g.mask[static_cast<size_t>(y) * s->w + x] = row[x] != 0;
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
  }
  return glyphs_.emplace(c, std::move(g)).first->second;
}

int Font::advance(char32_t c) { return glyph(c).advance; }

int Font::measure(std::u32string_view text) {
  int w = 0;
  for (char32_t c : text) w += advance(c);
  return w;
}

int Font::draw(formats::Image& target, int x, int y, std::u32string_view text, formats::Color color,
               const formats::Rect& clip) {
  formats::Rect area = clip.intersect(target.bounds());
  int pen = x;
  for (char32_t c : text) {
    const Glyph& g = glyph(c);
    for (int gy = 0; gy < g.height; ++gy)
      for (int gx = 0; gx < g.width; ++gx)
        if (g.mask[static_cast<size_t>(gy) * g.width + gx] && area.contains(pen + gx, y + gy))
          target.set(pen + gx, y + gy, color);
    pen += g.advance;
  }
  return pen - x;
}

}  // namespace gui
