#pragma once
// The playing time of a RIFF WAVE file, read from its format and data chunks: a
// synchronous sound blocks for it, and a headless run keeps time by it.
#include <cstdint>
#include <optional>
#include <span>

namespace media {

// Milliseconds of sound in the data chunk, rounded up; a data chunk cut short by
// the end of the file counts with the bytes present. nullopt when the bytes are
// not a RIFF WAVE file with a usable format chunk and a data chunk.
std::optional<uint32_t> waveLengthMs(std::span<const uint8_t> wav);

}  // namespace media
