#include "formats/png_writer.h"

#include <SDL.h>
#include <SDL_image.h>

#include "formats/image_surface.h"

namespace formats {

bool savePng(const Image& image, const std::filesystem::path& path, Transparency transparency) {
  SDL_Surface* s = toSurface(image, transparency);
  if (!s) return false;
  const bool ok = IMG_SavePNG(s, path.string().c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

}  // namespace formats
