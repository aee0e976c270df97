#pragma once
// The wave reader: the format and playing time of a RIFF WAVE file. It stands in front of
// the mixer, so it accepts only what the mixer's loader and converter take safely; a
// synchronous sound blocks for the time it reads, and a headless run keeps time by it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace formats {

// The mixer's own format: every wave is converted to it before it plays.
inline constexpr uint32_t kMixerRate = 44100;
inline constexpr uint32_t kMixerChannels = 2;

// Sample rates a wave may have: beyond them the converter's arithmetic breaks down.
inline constexpr uint32_t kMinWaveRate = 1000;
inline constexpr uint32_t kMaxWaveRate = 384000;
// The most memory the mixer may need to convert one wave to its own format.
inline constexpr uint64_t kMaxConvertedWaveBytes = uint64_t{1} << 30;

struct WaveInfo {
  uint16_t encoding = 0;  // PCM 1, MS ADPCM 2, IEEE float 3, A-law 6, mu-law 7, IMA ADPCM 17
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint16_t bits = 0;
  uint64_t frames = 0;          // sample frames the mixer decodes
  uint64_t convertedBytes = 0;  // the most memory its conversion to the mixer's format takes
  uint32_t lengthMs = 0;        // the playing time, rounded up
  size_t dataSizeAt = 0;        // where the data chunk's size is written in the file
  uint64_t dataBytes = 0;       // the data present
};

// The wave's format and length, from its format and data chunks; a data chunk cut short
// by the end of the file counts with the bytes present, and a fact chunk counts for
// nothing (the mixer ignores it). nullopt when the bytes are not a RIFF WAVE file, or
// its format is one the mixer cannot play or convert safely: an encoding other than PCM
// (8, 16, 24, 32 bits), 32-bit float, A-law, mu-law and the two ADPCMs, 0 or more than 8
// channels, a sample rate outside kMinWaveRate..kMaxWaveRate, a block alignment that does
// not fit the encoding, or a conversion needing more than kMaxConvertedWaveBytes.
std::optional<WaveInfo> readWave(std::span<const uint8_t> wav);

// The mixer's loader allocates what the data chunk's size claims before it reads: a file
// cut short is made to claim only the bytes it holds.
void trimDataChunk(std::span<uint8_t> wav, const WaveInfo& info);

// readWave's length alone.
std::optional<uint32_t> waveLengthMs(std::span<const uint8_t> wav);

}  // namespace formats
