#pragma once
// Where the player keeps saved games and settings: $XDG_DATA_HOME/torami, else
// ~/.local/share/torami; on Windows %APPDATA%\torami.
#include <filesystem>
#include <optional>

namespace platform {

// Nullopt when the system gives no place.
std::optional<std::filesystem::path> userDataFolder();

}  // namespace platform
