#pragma once
// The sound services the music device and the sound player use: one MIDI piece
// and one wave at a time. Backends: SDL2_mixer (sdl/sdl_mixer.h) and a silent
// mixer that keeps time by a clock (silent_mixer.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "formats/wave_length.h"

namespace gui {

// Milliseconds from a fixed start: the real tick counter in a window, the
// virtual clock in a headless run.
using TickSource = std::function<uint32_t()>;

// The mixer's own format, every wave converted to it before it plays: the wave reader's.
using formats::kMixerChannels;
using formats::kMixerRate;

// A wave file already checked by its reader, with its length.
struct WaveSound {
  std::span<const uint8_t> bytes;
  uint32_t lengthMs = 0;
};

class Mixer {
 public:
  using MusicHandle = uint32_t;

  virtual ~Mixer() = default;

  // Takes a copy of a Standard MIDI File; nullopt when it cannot be played.
  virtual std::optional<MusicHandle> loadMusic(std::span<const uint8_t> smf) = 0;
  // Plays the piece once from its beginning, replacing any piece that sounds.
  virtual void startMusic(MusicHandle music) = 0;
  // Silences whatever piece sounds.
  virtual void haltMusic() = 0;
  // Forgets the piece; it stops first when it sounds.
  virtual void freeMusic(MusicHandle music) = 0;
  // When the piece's last start began to sound, by the mixer's clock: a start may begin
  // later than asked (a piece still loading begins when it has loaded). The clock's
  // present while it waits to begin. Nullopt: the mixer does not tell, or the start was
  // halted or freed before it sounded; the piece counts as begun when asked.
  virtual std::optional<uint32_t> musicSoundedAt(MusicHandle) { return std::nullopt; }

  // Plays the wave once, or until stopped when `loop`, replacing the one that
  // sounds. The bytes need not outlive the call. False when it cannot play.
  virtual bool playWave(const WaveSound& wave, bool loop) = 0;
  virtual void stopWave() = 0;
  virtual bool wavePlaying() = 0;

  // The volume of the music and of the waves, each 0..100 percent.
  virtual void setVolume(int musicPercent, int wavePercent) = 0;
};

}  // namespace gui
