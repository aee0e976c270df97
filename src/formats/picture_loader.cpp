#include "formats/picture_loader.h"

#include <SDL.h>
#include <SDL_image.h>

#include "formats/gif_decoder.h"
#include "formats/image_surface.h"
#include "formats/picture_header.h"
#include "platform/file_bytes.h"
#include "platform/port.h"
#include "platform/unchanging_files.h"

namespace formats {
namespace {

void say(std::string* problem, std::string what) {
  if (problem) *problem = std::move(what);
}

/* The decoder of the format the header check found, never the library's own guess, so
   what is decoded is what was checked. GIF has a decoder of its own. */
SDL_Surface* decode(PictureFormat format, SDL_RWops* rw) {
  switch (format) {
    case PictureFormat::Bmp:
      return IMG_LoadBMP_RW(rw);
    case PictureFormat::Png:
      return IMG_LoadPNG_RW(rw);
    case PictureFormat::Jpeg:
      return IMG_LoadJPG_RW(rw);
    case PictureFormat::Gif:
      break;  // decodeGif
  }
  return nullptr;
}

}  // namespace

std::optional<Image> decodePicture(std::span<const unsigned char> bytes, std::string* problem) {
  const PictureCheck check = checkPictureHeader(bytes);
  if (!check.header) {
    say(problem, check.problem);
    return std::nullopt;
  }
  if (check.header->format == PictureFormat::Gif) return decodeGif(bytes);
  if (bytes.size() > platform::kMaxPictureFileBytes) {
    say(problem, "larger than " + std::to_string(platform::kMaxPictureFileBytes >> 20) + " MB");
    return std::nullopt;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!rw) {
    say(problem, SDL_GetError());
    return std::nullopt;
  }
  SDL_Surface* surface = nullptr;
  {
    platform::QuietStandardError quiet;
    surface = decode(check.header->format, rw);
  }
  SDL_RWclose(rw);
  if (!surface) {
    say(problem, std::string("broken ") + pictureFormatName(check.header->format) + " (" +
                     IMG_GetError() + ")");
    return std::nullopt;
  }
  auto image = fromSurface(surface);
  if (!image) say(problem, std::string("cannot convert its pixels (") + SDL_GetError() + ")");
  return image;
}

bool looksLikePicture(const std::filesystem::path& path) {
  return platform::rememberedAnswer(path, "picture", [&] {
    const auto bytes = platform::readFileBytes(path, platform::kMaxPictureFileBytes);
    return bytes && checkPictureHeader(*bytes).header.has_value();
  });
}

std::optional<Image> loadPicture(const std::filesystem::path& path, std::string* problem) {
  auto bytes = platform::readFileBytes(path, platform::kMaxPictureFileBytes);
  if (!bytes) {
    std::error_code ec;
    const bool tooBig =
        std::filesystem::file_size(path, ec) > platform::kMaxPictureFileBytes && !ec;
    say(problem, tooBig
                     ? "larger than " + std::to_string(platform::kMaxPictureFileBytes >> 20) + " MB"
                     : std::string("cannot be read"));
    return std::nullopt;
  }
  return decodePicture(*bytes, problem);
}

}  // namespace formats
