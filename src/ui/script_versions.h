#pragma once
// Saved games are kept per version of a script (a folder named after its contents), so a
// save always replays onto the script it was made with. When an edited script is played,
// its earlier version's saves stay where they are: the player is told so once, when the
// new version's folder is made.
#include <filesystem>
#include <optional>

namespace ui {

/* Marks `versionFolder` (inside `dataFolder`) as a version of the script at `script`. When
   the folder is new, returns the folder of the latest earlier version of the same script
   file, if any. */
std::optional<std::filesystem::path> markScriptVersion(const std::filesystem::path& dataFolder,
                                                       const std::filesystem::path& versionFolder,
                                                       const std::filesystem::path& script,
                                                       bool fresh);

}  // namespace ui
