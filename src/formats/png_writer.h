#pragma once
// Writes an image as a PNG file (the snapshots of headless runs).
#include <filesystem>

#include "formats/image.h"

namespace formats {

// False when the file cannot be written.
bool savePng(const Image& image, const std::filesystem::path& path);

}  // namespace formats
