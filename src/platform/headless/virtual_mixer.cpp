#include "platform/headless/virtual_mixer.h"

namespace platform {

VirtualMixer::VirtualMixer(TickSource now) : now_(std::move(now)) {}

std::optional<Mixer::MusicHandle> VirtualMixer::loadMusic(std::span<const uint8_t> smf) {
  if (smf.empty()) return std::nullopt;
  loaded_.insert(next_);
  return next_++;
}

void VirtualMixer::startMusic(MusicHandle music) {
  if (loaded_.contains(music)) sounding_ = music;
}

void VirtualMixer::haltMusic() { sounding_.reset(); }

void VirtualMixer::freeMusic(MusicHandle music) {
  if (sounding_ == music) sounding_.reset();
  loaded_.erase(music);
}

bool VirtualMixer::playWave(const WaveSound& wave, bool loop) {
  wave_ = Wave{now_(), wave.lengthMs, loop};
  return true;
}

void VirtualMixer::stopWave() { wave_.reset(); }

bool VirtualMixer::wavePlaying() {
  return wave_ && (wave_->loop || now_() - wave_->startedAt < wave_->lengthMs);
}

}  // namespace platform
