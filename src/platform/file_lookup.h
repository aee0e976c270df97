#pragma once
// Finds a media file named by the script inside the game folder, the way the title's
// platform did: backslash (or slash) separates folders, letters match without regard
// to case (an exact match wins), and each name is tried in UTF-8 and in code page 932.
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

std::optional<std::filesystem::path> findFile(const std::filesystem::path& folder,
                                              std::u32string_view relativeName);

}  // namespace platform
