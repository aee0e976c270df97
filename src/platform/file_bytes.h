#pragma once
// Whole-file reads of the script and the media it names, with a size limit so that a
// stray huge file cannot exhaust memory; whole-file writes that never leave half a file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr size_t kMaxScriptFileBytes = size_t{16} << 20;
inline constexpr size_t kMaxPictureFileBytes = size_t{64} << 20;
inline constexpr size_t kMaxMusicFileBytes = size_t{16} << 20;
inline constexpr size_t kMaxWaveFileBytes = size_t{256} << 20;

// The bytes of a regular file of at most `limit` bytes; nullopt otherwise.
std::optional<std::vector<uint8_t>> readFileBytes(const std::filesystem::path& path, size_t limit);

// Writes the file whole, on the disk, through a temporary beside it that takes the file's
// place only once it is complete: a crash leaves the old file or the new one. False (and
// no temporary left) when it cannot.
bool writeFileWhole(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform
