#include "formats/midi_length.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace formats {
namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 bpm
constexpr double kMaxLengthMs = 2147483647.0;

struct TempoChange {
  uint64_t tick;
  uint32_t usPerQuarter;
};

/* Every read checks the bytes left, so a truncated file ends the scan with
   nullopt instead of reading past the buffer. */
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool atEnd() const { return pos_ == bytes_.size(); }
  size_t left() const { return bytes_.size() - pos_; }

  std::optional<uint8_t> peek() const {
    if (atEnd()) return std::nullopt;
    return bytes_[pos_];
  }

  std::optional<uint32_t> bigEndian(int count) {
    if (left() < static_cast<size_t>(count)) return std::nullopt;
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes_[pos_++];
    return value;
  }

  // A variable-length quantity: at most four bytes, seven bits each.
  std::optional<uint32_t> quantity() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      if (atEnd()) return std::nullopt;
      const uint8_t byte = bytes_[pos_++];
      value = (value << 7) | (byte & 0x7f);
      if ((byte & 0x80) == 0) return value;
    }
    return std::nullopt;
  }

  bool skip(size_t count) {
    if (left() < count) return false;
    pos_ += count;
    return true;
  }

  std::optional<std::span<const uint8_t>> take(size_t count) {
    if (left() < count) return std::nullopt;
    const auto part = bytes_.subspan(pos_, count);
    pos_ += count;
    return part;
  }

  bool tagIs(const char* tag) const {
    return left() >= 4 && std::equal(tag, tag + 4, bytes_.begin() + pos_);
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

size_t channelDataBytes(uint8_t status) {
  const uint8_t kind = status & 0xf0;
  return (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
}

/* A meta event: notes a tempo change; reports whether it ends the track. */
std::optional<bool> readMeta(Reader& in, uint64_t tick, std::vector<TempoChange>& tempos) {
  const auto type = in.bigEndian(1);
  if (!type) return std::nullopt;
  const auto length = in.quantity();
  if (!length) return std::nullopt;
  const auto data = in.take(*length);
  if (!data) return std::nullopt;
  if (*type == 0x51 && data->size() == 3) {
    const uint32_t tempo = ((*data)[0] << 16) | ((*data)[1] << 8) | (*data)[2];
    if (tempo > 0) tempos.push_back({tick, tempo});
  }
  return *type == 0x2f;
}

/* Walks one track's events; returns the tick of its last event. A track that
   ends at its chunk's end without an end-of-track event is taken as it is. */
std::optional<uint64_t> scanTrack(std::span<const uint8_t> track,
                                  std::vector<TempoChange>& tempos) {
  Reader in(track);
  uint64_t tick = 0;
  uint8_t running = 0;
  while (!in.atEnd()) {
    const auto delta = in.quantity();
    const auto first = delta ? in.peek() : std::nullopt;
    if (!first) return std::nullopt;
    tick += *delta;
    uint8_t status = running;
    if (*first >= 0x80) {
      status = *first;
      in.skip(1);
    }
    if (status == 0xff) {
      running = 0;
      const auto ends = readMeta(in, tick, tempos);
      if (!ends) return std::nullopt;
      if (*ends) return tick;
    } else if (status == 0xf0 || status == 0xf7) {
      running = 0;
      const auto length = in.quantity();
      if (!length || !in.skip(*length)) return std::nullopt;
    } else if (status >= 0x80 && status < 0xf0) {
      running = status;
      if (!in.skip(channelDataBytes(status))) return std::nullopt;
    } else {
      return std::nullopt;  // no running status, or a real-time byte that has no place here
    }
  }
  return tick;
}

/* Microseconds of `end` ticks at metrical timing, following the tempo map. */
double metricalMicroseconds(uint64_t end, uint32_t ticksPerQuarter,
                            std::vector<TempoChange> tempos) {
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  double us = 0;
  uint64_t from = 0;
  uint32_t tempo = kDefaultTempo;
  for (const TempoChange& change : tempos) {
    if (change.tick >= end) break;
    us += static_cast<double>(change.tick - from) * tempo / ticksPerQuarter;
    from = change.tick;
    tempo = change.usPerQuarter;
  }
  return us + static_cast<double>(end - from) * tempo / ticksPerQuarter;
}

/* Microseconds of `end` ticks at SMPTE timing: frames per second times ticks
   per frame; 29 stands for 29.97 drop-frame. */
std::optional<double> smpteMicroseconds(uint64_t end, uint16_t division) {
  const int framesPerSecond = -static_cast<int8_t>(division >> 8);
  const int ticksPerFrame = division & 0xff;
  if (ticksPerFrame == 0) return std::nullopt;
  double rate = 0;
  switch (framesPerSecond) {
    case 24:
    case 25:
    case 30:
      rate = framesPerSecond;
      break;
    case 29:
      rate = 30000.0 / 1001.0;
      break;
    default:
      return std::nullopt;
  }
  return static_cast<double>(end) * 1e6 / (rate * ticksPerFrame);
}

struct Header {
  uint16_t tracks;
  uint16_t division;
};

std::optional<Header> readHeader(Reader& in) {
  if (!in.tagIs("MThd")) return std::nullopt;
  in.skip(4);
  const auto length = in.bigEndian(4);
  if (!length || *length < 6 || in.left() < *length) return std::nullopt;
  const auto format = in.bigEndian(2);
  const auto tracks = in.bigEndian(2);
  const auto division = in.bigEndian(2);
  in.skip(*length - 6);
  if (*format > 1 || *tracks == 0 || *division == 0) return std::nullopt;
  return Header{static_cast<uint16_t>(*tracks), static_cast<uint16_t>(*division)};
}

/* The tick of the last event over all tracks; chunks of other kinds are skipped. */
std::optional<uint64_t> scanTracks(Reader& in, uint16_t count, std::vector<TempoChange>& tempos) {
  uint64_t last = 0;
  for (uint16_t found = 0; found < count;) {
    const bool isTrack = in.tagIs("MTrk");
    if (!in.skip(4)) return std::nullopt;
    const auto length = in.bigEndian(4);
    const auto body = length ? in.take(*length) : std::nullopt;
    if (!body) return std::nullopt;
    if (!isTrack) continue;
    const auto end = scanTrack(*body, tempos);
    if (!end) return std::nullopt;
    last = std::max(last, *end);
    ++found;
  }
  return last;
}

}  // namespace

std::optional<uint32_t> midiLengthMs(std::span<const uint8_t> smf) {
  Reader in(smf);
  const auto header = readHeader(in);
  if (!header) return std::nullopt;
  std::vector<TempoChange> tempos;
  const auto end = scanTracks(in, header->tracks, tempos);
  if (!end) return std::nullopt;
  std::optional<double> us;
  if (header->division & 0x8000)
    us = smpteMicroseconds(*end, header->division);
  else
    us = metricalMicroseconds(*end, header->division, std::move(tempos));
  if (!us) return std::nullopt;
  const double ms = std::ceil(*us / 1000.0 - 1e-9);
  if (ms > kMaxLengthMs) return std::nullopt;
  return static_cast<uint32_t>(ms);
}

}  // namespace formats
