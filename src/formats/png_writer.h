#pragma once
// Writes an image as a PNG file (the snapshots of headless runs, the installed icons).
#include <filesystem>

#include "formats/image.h"

namespace formats {

// False when the file cannot be written. With MagentaIsClear the file has an alpha channel.
bool savePng(const Image& image, const std::filesystem::path& path,
             Transparency transparency = Transparency::Opaque);

}  // namespace formats
