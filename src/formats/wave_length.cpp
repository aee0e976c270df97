#include "formats/wave_length.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace formats {
namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kMsAdpcm = 2;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kALaw = 6;
constexpr uint16_t kMuLaw = 7;
constexpr uint16_t kImaAdpcm = 0x11;
constexpr uint16_t kExtensible = 0xfffe;
constexpr uint16_t kMaxChannels = 8;  // the most the mixer's converter takes

struct Format {
  uint16_t encoding = 0;
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint16_t blockAlign = 0;
  uint16_t bits = 0;
  uint32_t samplesPerBlock = 0;  // ADPCM only
  uint32_t coefficients = 0;     // MS ADPCM only
};

struct Chunks {
  std::optional<std::span<const uint8_t>> format;
  std::optional<uint64_t> dataBytes;
  size_t dataSizeAt = 0;
};

uint32_t little(std::span<const uint8_t> bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

bool tagIs(std::span<const uint8_t> bytes, size_t at, const char* tag) {
  return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

/* Walks the chunks after "RIFF" size "WAVE"; chunk bodies are padded to even sizes. Only
   the data chunk may run past the end of the file. As the mixer's loader does, the first
   format chunk and the first data chunk count, a format chunk after the data is an error
   (no format), and the walk ends once both are found. */
Chunks readChunks(std::span<const uint8_t> wav) {
  Chunks found;
  size_t at = 12;
  // Chunks are looked for up to the end the RIFF header gives (none when it gives 0).
  const uint64_t riffLength = little(wav, 4, 4);
  const uint64_t riffEnd = riffLength == 0 ? UINT64_MAX : 8 + riffLength;
  while (wav.size() - at >= 8 && at < riffEnd && !(found.format && found.dataBytes)) {
    const uint64_t size = little(wav, at + 4, 4);
    const size_t body = at + 8;
    const uint64_t present = std::min<uint64_t>(size, wav.size() - body);
    if (tagIs(wav, at, "data")) {
      found.dataBytes = present;
      found.dataSizeAt = at + 4;
    } else if (present < size) {
      break;
    } else if (tagIs(wav, at, "fmt ")) {
      if (found.dataBytes) return {};
      if (!found.format) found.format = wav.subspan(body, size);
    }
    if (present < size || wav.size() - body - size < (size & 1)) break;
    at = body + size + (size & 1);
  }
  return found;
}

/* The extensible header names its encoding by a GUID: the format tag followed by a
   fixed tail. */
std::optional<uint16_t> extensibleEncoding(std::span<const uint8_t> fmt) {
  static constexpr std::array<uint8_t, 14> kTail = {0, 0, 0,    0, 0x10, 0,    0x80,
                                                    0, 0, 0xaa, 0, 0x38, 0x9b, 0x71};
  if (fmt.size() < 40 || little(fmt, 16, 2) < 22) return std::nullopt;
  if (!std::equal(kTail.begin(), kTail.end(), fmt.begin() + 26)) return std::nullopt;
  return static_cast<uint16_t>(little(fmt, 24, 2));
}

/* MS ADPCM: a block holds a 7-byte header per channel and two nibbles per byte; the
   header must carry the seven standard coefficient pairs. */
bool checkMsAdpcm(std::span<const uint8_t> fmt, Format& f) {
  static constexpr int16_t kPreset[14] = {256, 0,   512, -256, 0,    0,   192,
                                          64,  240, 0,   460,  -208, 392, -232};
  const uint32_t header = 7u * f.channels;
  if (f.channels > 2 || f.bits != 4 || f.blockAlign < header || fmt.size() < 22) return false;
  const uint32_t coefficients = std::min<uint32_t>(little(fmt, 20, 2), 256);
  if (coefficients < 7 || fmt.size() < 22 + 4 * coefficients ||
      little(fmt, 16, 2) < 4 + 4 * coefficients)
    return false;
  for (int i = 0; i < 14; ++i)
    if (static_cast<int16_t>(little(fmt, 22 + 2 * i, 2)) != kPreset[i]) return false;
  f.coefficients = coefficients;
  const uint32_t dataSamples = (f.blockAlign - header) * 8 / (4u * f.channels);
  f.samplesPerBlock = little(fmt, 18, 2);
  if (f.samplesPerBlock == 0) f.samplesPerBlock = dataSamples + 2;
  return f.samplesPerBlock != 1 && dataSamples + 2 >= f.samplesPerBlock;
}

/* IMA ADPCM: a 4-byte header per channel, blocks a multiple of four bytes. */
bool checkImaAdpcm(std::span<const uint8_t> fmt, bool extensible, Format& f) {
  const uint32_t header = 4u * f.channels;
  if (f.bits != 4 || f.blockAlign < header || f.blockAlign % 4 != 0) return false;
  const uint32_t dataSamples = (f.blockAlign - header) * 8 / (4u * f.channels);
  if (extensible || (fmt.size() >= 20 && little(fmt, 16, 2) >= 2))
    f.samplesPerBlock = little(fmt, 18, 2);
  if (f.samplesPerBlock == 0) f.samplesPerBlock = dataSamples + 1;
  return dataSamples + 1 >= f.samplesPerBlock;
}

std::optional<Format> readFormat(std::span<const uint8_t> fmt) {
  if (fmt.size() < 16) return std::nullopt;
  Format f{static_cast<uint16_t>(little(fmt, 0, 2)), static_cast<uint16_t>(little(fmt, 2, 2)),
           little(fmt, 4, 4), static_cast<uint16_t>(little(fmt, 12, 2)),
           static_cast<uint16_t>(little(fmt, 14, 2))};
  const bool extensible = f.encoding == kExtensible;
  if (extensible) {
    const auto encoding = extensibleEncoding(fmt);
    if (!encoding || *encoding == kMsAdpcm) return std::nullopt;
    f.encoding = *encoding;
  }
  if (f.channels == 0 || f.channels > kMaxChannels || f.rate < kMinWaveRate ||
      f.rate > kMaxWaveRate || f.blockAlign == 0)
    return std::nullopt;
  const bool framed = f.blockAlign * 8u == f.channels * uint32_t{f.bits};
  bool ok = false;
  switch (f.encoding) {
    case kPcm:
      ok = framed && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
      break;
    case kFloat:
      ok = framed && f.bits == 32;
      break;
    case kALaw:
    case kMuLaw:
      ok = f.bits == 8 && f.blockAlign == f.channels;
      break;
    case kMsAdpcm:
      ok = checkMsAdpcm(fmt, f);
      break;
    case kImaAdpcm:
      ok = checkImaAdpcm(fmt, extensible, f);
      break;
  }
  return ok ? std::optional(f) : std::nullopt;
}

/* Bytes per sample as the loader hands them to the converter: 24-bit PCM widened to 32,
   the companded and ADPCM encodings decoded to 16 bits. */
uint64_t loadedSampleBytes(const Format& f) {
  if (f.encoding == kPcm) return f.bits == 24 ? 4 : f.bits / 8;
  return f.encoding == kFloat ? 4 : 2;
}

uint64_t ceilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

/* The loader decodes every MS ADPCM block that holds its header and refuses the whole
   sound at a header naming a coefficient pair past the format's count. */
bool msAdpcmBlocksDecode(std::span<const uint8_t> wav, const Chunks& chunks, const Format& f) {
  const size_t start = chunks.dataSizeAt + 4, header = 7u * f.channels;
  const uint64_t bytes =
      std::min<uint64_t>(*chunks.dataBytes, wav.size() - std::min(start, wav.size()));
  for (uint64_t at = 0; at + header <= bytes; at += f.blockAlign)
    for (uint16_t c = 0; c < f.channels; ++c)
      if (wav[start + at + c] > f.coefficients) return false;
  return true;
}

}  // namespace

/* The converter goes through 32-bit float samples, adds channels up to the mixer's
   count and resamples to its rate in one buffer, whose size grows by each of those
   factors; its arithmetic is 32-bit, so a wave whose buffer would pass
   kMaxConvertedWaveBytes is refused here. */
std::optional<WaveInfo> readWave(std::span<const uint8_t> wav) {
  if (wav.size() < 12 || !tagIs(wav, 0, "RIFF") || !tagIs(wav, 8, "WAVE")) return std::nullopt;
  const Chunks chunks = readChunks(wav);
  if (!chunks.format || !chunks.dataBytes) return std::nullopt;
  const auto format = readFormat(*chunks.format);
  if (!format) return std::nullopt;
  const Format& f = *format;
  if (f.encoding == kMsAdpcm && !msAdpcmBlocksDecode(wav, chunks, f)) return std::nullopt;
  WaveInfo info{f.encoding, f.channels, f.rate, f.bits};
  info.dataSizeAt = chunks.dataSizeAt;
  info.dataBytes = *chunks.dataBytes;
  const uint64_t blocks = *chunks.dataBytes / f.blockAlign;
  info.frames = f.samplesPerBlock ? blocks * f.samplesPerBlock : blocks;
  const uint64_t sampleBytes = loadedSampleBytes(f);
  const uint64_t growth =
      (4 / sampleBytes) * ceilDiv(kMixerChannels, f.channels) * ceilDiv(kMixerRate, f.rate);
  info.convertedBytes = info.frames * f.channels * sampleBytes * growth;
  if (info.convertedBytes > kMaxConvertedWaveBytes) return std::nullopt;
  info.lengthMs = static_cast<uint32_t>(ceilDiv(info.frames * 1000, f.rate));
  return info;
}

void trimDataChunk(std::span<uint8_t> wav, const WaveInfo& info) {
  if (info.dataSizeAt + 4 > wav.size() || little(wav, info.dataSizeAt, 4) <= info.dataBytes) return;
  for (int i = 0; i < 4; ++i)
    wav[info.dataSizeAt + i] = static_cast<uint8_t>(info.dataBytes >> (8 * i));
}

std::optional<uint32_t> waveLengthMs(std::span<const uint8_t> wav) {
  const auto info = readWave(wav);
  return info ? std::optional(info->lengthMs) : std::nullopt;
}

}  // namespace formats
