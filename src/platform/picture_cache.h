#pragma once
// Pictures decoded once and kept, for a process that plays the same game again and again
// (the explorer replays it thousands of times). Off unless switched on; a file that
// changes on disk (size or time) is decoded again.
#include <filesystem>
#include <optional>

#include "platform/image.h"

namespace platform {

void keepDecodedPictures(bool on);
// loadPicture, through the kept pictures when they are switched on.
std::optional<Image> loadPictureKept(const std::filesystem::path& path);

}  // namespace platform
