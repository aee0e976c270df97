#include "formats/image_surface.h"

#include <SDL.h>

namespace formats {

SDL_Surface* toSurface(const Image& image, Transparency transparency) {
  const bool magentaIsClear = transparency == Transparency::MagentaIsClear;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(
      0, image.width(), image.height(), 32,
      magentaIsClear ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888);
  if (!s) return nullptr;
  for (int y = 0; y < image.height(); ++y) {
    Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) +
                                            static_cast<size_t>(y) * s->pitch);
    const Color* src = image.row(y);
    for (int x = 0; x < image.width(); ++x)
      row[x] = magentaIsClear && src[x] == rgb(255, 0, 255) ? 0 : (src[x] | 0xff000000u);
  }
  return s;
}

std::optional<Image> fromSurface(SDL_Surface* loaded) {
  if (!loaded) return std::nullopt;
  SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (!s) return std::nullopt;
  Image image(s->w, s->h);
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) +
                                                        static_cast<size_t>(y) * s->pitch);
    Color* dst = image.row(y);
    for (int x = 0; x < s->w; ++x) dst[x] = row[x] & 0xffffff;
  }
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
  return image;
}

}  // namespace formats
