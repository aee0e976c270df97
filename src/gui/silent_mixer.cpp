#include "gui/silent_mixer.h"

namespace gui {

SilentMixer::SilentMixer(TickSource now) : now_(std::move(now)) {}

std::optional<Mixer::MusicHandle> SilentMixer::loadMusic(std::span<const uint8_t> smf) {
  if (smf.empty()) return std::nullopt;
  loaded_.insert(next_);
  return next_++;
}

void SilentMixer::startMusic(MusicHandle music) {
  if (loaded_.contains(music)) sounding_ = music;
}

void SilentMixer::haltMusic() { sounding_.reset(); }

void SilentMixer::freeMusic(MusicHandle music) {
  if (sounding_ == music) sounding_.reset();
  loaded_.erase(music);
}

bool SilentMixer::playWave(const WaveSound& wave, bool loop) {
  wave_ = Wave{now_(), wave.lengthMs, loop};
  return true;
}

void SilentMixer::stopWave() { wave_.reset(); }

bool SilentMixer::wavePlaying() {
  return wave_ && (wave_->loop || now_() - wave_->startedAt < wave_->lengthMs);
}

}  // namespace gui
