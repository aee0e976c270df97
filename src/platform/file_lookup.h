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

// The folder of a game, where the script's media names are looked up.
class GameFolder {
 public:
  GameFolder() = default;
  explicit GameFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
  const std::filesystem::path& path() const { return folder_; }
  // The file named by the script plus an extension (".szg", ".MID", ".wav").
  std::optional<std::filesystem::path> find(std::u32string_view name,
                                            std::u32string_view extension) const {
    return findFile(folder_, std::u32string(name) + std::u32string(extension));
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace platform
