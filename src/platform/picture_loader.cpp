#include "platform/picture_loader.h"

#include <SDL.h>
#include <SDL_image.h>

#include "platform/file_bytes.h"

namespace platform {
namespace {

std::optional<Image> fromSurface(SDL_Surface* loaded) {
  if (!loaded) return std::nullopt;
  SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (!s) return std::nullopt;
  Image image(s->w, s->h);
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const Uint32* row =
        reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) image.set(x, y, row[x] & 0xffffff);
  }
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
  return image;
}

}  // namespace

std::optional<Image> decodePicture(std::span<const unsigned char> bytes) {
  if (bytes.empty()) return std::nullopt;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!rw) return std::nullopt;
  return fromSurface(IMG_Load_RW(rw, 1));
}

std::optional<Image> loadPicture(const std::filesystem::path& path) {
  auto bytes = readFileBytes(path, kMaxPictureFileBytes);
  if (!bytes) return std::nullopt;
  return decodePicture(*bytes);
}

bool savePng(const Image& image, const std::filesystem::path& path) {
  SDL_Surface* s =
      SDL_CreateRGBSurfaceWithFormat(0, image.width(), image.height(), 32, SDL_PIXELFORMAT_RGB888);
  if (!s) return false;
  SDL_LockSurface(s);
  for (int y = 0; y < image.height(); ++y) {
    Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < image.width(); ++x) row[x] = image.at(x, y) | 0xff000000u;
  }
  SDL_UnlockSurface(s);
  bool ok = IMG_SavePNG(s, path.string().c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

}  // namespace platform
