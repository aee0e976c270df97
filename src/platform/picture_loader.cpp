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

bool looksLikePicture(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  SDL_RWops* rw = SDL_RWFromFile(path.string().c_str(), "rb");
  if (!rw) return false;
  const bool picture = IMG_isBMP(rw) || IMG_isGIF(rw) || IMG_isPNG(rw) || IMG_isJPG(rw);
  SDL_RWclose(rw);
  return picture;
}

std::optional<Image> loadPicture(const std::filesystem::path& path) {
  auto bytes = readFileBytes(path, kMaxPictureFileBytes);
  if (!bytes) return std::nullopt;
  return decodePicture(*bytes);
}

}  // namespace platform
