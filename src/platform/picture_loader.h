#pragma once
// Decodes a picture by its content (BMP, GIF, PNG, JPEG and the other formats the image
// library knows), whatever the file's extension. Failure of any kind gives nullopt.
#include <filesystem>
#include <optional>
#include <span>

#include "platform/image.h"

namespace platform {

std::optional<Image> loadPicture(const std::filesystem::path& path);
// Whether the file begins as a BMP, GIF, PNG or JPEG picture does; nothing is decoded.
bool looksLikePicture(const std::filesystem::path& path);
std::optional<Image> decodePicture(std::span<const unsigned char> bytes);

}  // namespace platform
