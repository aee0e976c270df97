#include "media/wave_length.h"

#include <algorithm>
#include <cstring>

namespace media {
namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kALaw = 6;
constexpr uint16_t kMuLaw = 7;
constexpr uint16_t kExtensible = 0xfffe;

struct Format {
  uint16_t tag = 0;
  uint32_t sampleRate = 0;
  uint32_t byteRate = 0;
  uint16_t blockAlign = 0;
};

struct Chunks {
  std::optional<Format> format;
  std::optional<uint32_t> factSamples;
  std::optional<uint64_t> dataBytes;
};

uint32_t little(std::span<const uint8_t> bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

bool tagIs(std::span<const uint8_t> bytes, size_t at, const char* tag) {
  return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::optional<Format> readFormat(std::span<const uint8_t> body) {
  if (body.size() < 16) return std::nullopt;
  Format format{static_cast<uint16_t>(little(body, 0, 2)), little(body, 4, 4), little(body, 8, 4),
                static_cast<uint16_t>(little(body, 12, 2))};
  const uint32_t channels = little(body, 2, 2);
  if (channels == 0 || format.sampleRate == 0 || format.byteRate == 0 || format.blockAlign == 0)
    return std::nullopt;
  return format;
}

/* Walks the chunks after "RIFF" size "WAVE"; chunk bodies are padded to even
   sizes. Only the data chunk may run past the end of the file. */
Chunks readChunks(std::span<const uint8_t> wav) {
  Chunks found;
  size_t at = 12;
  while (wav.size() - at >= 8) {
    const uint64_t size = little(wav, at + 4, 4);
    const size_t body = at + 8;
    const uint64_t present = std::min<uint64_t>(size, wav.size() - body);
    if (tagIs(wav, at, "data")) {
      found.dataBytes = present;
    } else if (present < size) {
      break;
    } else if (tagIs(wav, at, "fmt ")) {
      found.format = readFormat(wav.subspan(body, size));
    } else if (tagIs(wav, at, "fact") && size >= 4) {
      found.factSamples = little(wav, body, 4);
    }
    if (present < size || wav.size() - body - size < (size & 1)) break;
    at = body + size + (size & 1);
  }
  return found;
}

uint64_t ceilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

bool framed(uint16_t tag) {
  return tag == kPcm || tag == kFloat || tag == kALaw || tag == kMuLaw || tag == kExtensible;
}

}  // namespace

std::optional<uint32_t> waveLengthMs(std::span<const uint8_t> wav) {
  if (wav.size() < 12 || !tagIs(wav, 0, "RIFF") || !tagIs(wav, 8, "WAVE")) return std::nullopt;
  const Chunks chunks = readChunks(wav);
  if (!chunks.format || !chunks.dataBytes) return std::nullopt;
  const Format& f = *chunks.format;
  uint64_t ms = 0;
  if (framed(f.tag))
    ms = ceilDiv(*chunks.dataBytes / f.blockAlign * 1000, f.sampleRate);
  else if (chunks.factSamples)
    ms = ceilDiv(uint64_t{*chunks.factSamples} * 1000, f.sampleRate);
  else
    ms = ceilDiv(*chunks.dataBytes * 1000, f.byteRate);
  return static_cast<uint32_t>(std::min<uint64_t>(ms, UINT32_MAX));
}

}  // namespace media
