#pragma once
// Decodes a picture by its content (BMP, GIF, PNG or JPEG), whatever the file's
// extension. The header is checked first (platform/picture_header.h), so only pictures of
// a sane size reach the decoder. Failure of any kind gives nullopt and, when `problem` is
// given, a few words on why; the decoder's own messages never reach standard error.
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "formats/image.h"

namespace formats {

std::optional<Image> loadPicture(const std::filesystem::path& path, std::string* problem = nullptr);
std::optional<Image> decodePicture(std::span<const unsigned char> bytes,
                                   std::string* problem = nullptr);
// Whether the file holds a picture whose header passes the check; nothing is decoded.
bool looksLikePicture(const std::filesystem::path& path);

}  // namespace formats
