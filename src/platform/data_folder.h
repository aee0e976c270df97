#pragma once
// Where the player keeps saved games and settings: $XDG_DATA_HOME/torami, else
// ~/.local/share/torami.
#include <filesystem>
#include <optional>

namespace platform {

// Nullopt when neither variable gives a place.
std::optional<std::filesystem::path> userDataFolder();

}  // namespace platform
