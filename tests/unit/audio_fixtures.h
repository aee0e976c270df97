#pragma once
// Test data for the sound tests: MIDI and wave files built in code, a scratch
// folder, and a mixer that records what it is asked to do.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "gui/audio.h"

namespace audio_test {

using Bytes = std::vector<uint8_t>;

inline void bigEndian(Bytes& out, uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void littleEndian(Bytes& out, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The events of one MIDI track, each written with its delta time.
class TrackBytes {
 public:
  TrackBytes& event(uint32_t delta, std::initializer_list<uint8_t> bytes) {
    quantity(delta);
    body_.insert(body_.end(), bytes);
    return *this;
  }
  TrackBytes& raw(std::initializer_list<uint8_t> bytes) {
    body_.insert(body_.end(), bytes);
    return *this;
  }
  TrackBytes& tempo(uint32_t delta, uint32_t usPerQuarter) {
    return event(delta,
                 {0xff, 0x51, 0x03, static_cast<uint8_t>(usPerQuarter >> 16),
                  static_cast<uint8_t>(usPerQuarter >> 8), static_cast<uint8_t>(usPerQuarter)});
  }
  TrackBytes& on(uint32_t delta, uint8_t key) { return event(delta, {0x90, key, 0x60}); }
  TrackBytes& off(uint32_t delta, uint8_t key) { return event(delta, {0x80, key, 0x40}); }
  TrackBytes& end(uint32_t delta) { return event(delta, {0xff, 0x2f, 0x00}); }
  const Bytes& body() const { return body_; }

 private:
  void quantity(uint32_t value) {
    Bytes groups;
    do {
      groups.push_back(value & 0x7f);
      value >>= 7;
    } while (value);
    for (size_t i = groups.size(); i-- > 1;) body_.push_back(groups[i] | 0x80);
    body_.push_back(groups[0]);
  }

  Bytes body_;
};

inline void chunk(Bytes& out, const char* tag, const Bytes& body) {
  out.insert(out.end(), tag, tag + 4);
  bigEndian(out, static_cast<uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
}

inline Bytes smf(uint16_t format, uint16_t division, const std::vector<TrackBytes>& tracks) {
  Bytes header;
  bigEndian(header, format, 2);
  bigEndian(header, static_cast<uint32_t>(tracks.size()), 2);
  bigEndian(header, division, 2);
  Bytes out;
  chunk(out, "MThd", header);
  for (const TrackBytes& t : tracks) chunk(out, "MTrk", t.body());
  return out;
}

// A piano scale of `notes` quarter notes at 120 bpm (480 ticks each, 500 ms).
inline Bytes scalePiece(int notes) {
  TrackBytes t;
  t.event(0, {0xc0, 0x00}).tempo(0, 500000);
  for (int i = 0; i < notes; ++i) t.on(0, static_cast<uint8_t>(60 + 2 * i)).off(480, 60 + 2 * i);
  t.end(0);
  return smf(0, 480, {t});
}

struct WaveFormat {
  uint16_t tag = 1;
  uint16_t channels = 1;
  uint32_t rate = 22050;
  uint16_t bits = 16;
};

// A RIFF WAVE file with the given format chunk body, data bytes and any extra chunks
// before "data".
inline Bytes riffWave(const Bytes& format, const Bytes& data, const Bytes& extraChunks = {}) {
  Bytes out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  littleEndian(out, static_cast<uint32_t>(format.size()), 4);
  out.insert(out.end(), format.begin(), format.end());
  if (format.size() % 2) out.push_back(0);
  out.insert(out.end(), extraChunks.begin(), extraChunks.end());
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  littleEndian(out, static_cast<uint32_t>(data.size()), 4);
  out.insert(out.end(), data.begin(), data.end());
  const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
  return out;
}

// The 16 bytes every format chunk starts with; the block size is the frame's, unless given.
inline Bytes waveFormat(const WaveFormat& f, uint16_t blockAlign = 0) {
  Bytes out;
  const uint16_t block =
      blockAlign ? blockAlign : static_cast<uint16_t>(f.channels * ((f.bits + 7) / 8));
  littleEndian(out, f.tag, 2);
  littleEndian(out, f.channels, 2);
  littleEndian(out, f.rate, 4);
  littleEndian(out, f.rate * block, 4);
  littleEndian(out, block, 2);
  littleEndian(out, f.bits, 2);
  return out;
}

// A RIFF WAVE file with a plain 16-byte format chunk.
inline Bytes waveFile(const WaveFormat& f, const Bytes& data, const Bytes& extraChunks = {}) {
  return riffWave(waveFormat(f), data, extraChunks);
}

// A 16-bit mono sine of `ms` milliseconds at 22050 Hz.
inline Bytes toneWave(uint32_t ms) {
  Bytes data;
  const uint32_t frames = 22050 * ms / 1000;
  for (uint32_t i = 0; i < frames; ++i) {
    const int16_t v = static_cast<int16_t>(((i / 25) % 2 ? 1 : -1) * 8000);
    littleEndian(data, static_cast<uint16_t>(v), 2);
  }
  return waveFile({}, data);
}

// A folder of its own under the system's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("torami-audio-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::filesystem::path write(const std::string& name, const Bytes& bytes) const {
    const auto file = path_ / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file;
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Records each request as a short word: "load 1", "start 1", "halt", "free 1",
// "wave 250", "wave 250 loop", "stop wave".
class FakeMixer final : public gui::Mixer {
 public:
  std::vector<std::string> calls;
  bool loadFails = false;
  bool waveFails = false;
  bool playing = false;               // what wavePlaying() answers
  std::optional<uint32_t> soundedAt;  // what musicSoundedAt() answers

  std::optional<MusicHandle> loadMusic(std::span<const uint8_t>) override {
    if (loadFails) return std::nullopt;
    calls.push_back("load " + std::to_string(next_));
    return next_++;
  }
  void startMusic(MusicHandle music) override { calls.push_back("start " + std::to_string(music)); }
  void haltMusic() override { calls.push_back("halt"); }
  void freeMusic(MusicHandle music) override { calls.push_back("free " + std::to_string(music)); }
  std::optional<uint32_t> musicSoundedAt(MusicHandle) override { return soundedAt; }
  bool playWave(const gui::WaveSound& wave, bool loop) override {
    if (waveFails) return false;
    calls.push_back("wave " + std::to_string(wave.lengthMs) + (loop ? " loop" : ""));
    playing = true;
    return true;
  }
  void stopWave() override {
    calls.push_back("stop wave");
    playing = false;
  }
  bool wavePlaying() override { return playing; }
  void setVolume(int music, int waves) override {
    calls.push_back("volume " + std::to_string(music) + " " + std::to_string(waves));
  }

 private:
  MusicHandle next_ = 1;
};

}  // namespace audio_test
