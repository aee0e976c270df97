#include "platform/picture_loader.h"

#include <SDL.h>
#include <SDL_image.h>

#include "platform/file_bytes.h"
#include "platform/image_surface.h"

namespace platform {

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

}  // namespace platform
