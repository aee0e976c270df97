#pragma once
// A mixer without an audio device: nothing sounds, but a wave plays for its
// length on the given clock, so timing and "is a sound playing" behave as with a
// device. Used by headless runs and when no audio device can be opened.
#include <set>

#include "gui/audio.h"

namespace gui {

class SilentMixer final : public Mixer {
 public:
  explicit SilentMixer(TickSource now);

  std::optional<MusicHandle> loadMusic(std::span<const uint8_t> smf) override;
  void startMusic(MusicHandle music) override;
  void haltMusic() override;
  void freeMusic(MusicHandle music) override;

  bool playWave(const WaveSound& wave, bool loop) override;
  void stopWave() override;
  bool wavePlaying() override;
  void setVolume(int musicPercent, int) override { volume_ = musicPercent; }
  int volume() const { return volume_; }

  // The piece started last and not halted or freed since, for inspection.
  std::optional<MusicHandle> sounding() const { return sounding_; }

 private:
  struct Wave {
    uint32_t startedAt;
    uint32_t lengthMs;
    bool loop;
  };

  TickSource now_;
  MusicHandle next_ = 1;
  std::set<MusicHandle> loaded_;
  std::optional<MusicHandle> sounding_;
  std::optional<Wave> wave_;
  int volume_ = 100;
};

}  // namespace gui
