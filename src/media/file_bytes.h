#pragma once
// Whole-file reads for media files, with a size limit so that a stray huge file
// named by a script cannot exhaust memory.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace media {

inline constexpr size_t kMaxMusicFileBytes = size_t{16} << 20;
inline constexpr size_t kMaxWaveFileBytes = size_t{256} << 20;

// The bytes of a regular file of at most `limit` bytes; nullopt otherwise.
std::optional<std::vector<uint8_t>> readFileBytes(const std::filesystem::path& path, size_t limit);

}  // namespace media
