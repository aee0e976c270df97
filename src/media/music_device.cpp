#include "media/music_device.h"

#include "formats/midi_length.h"
#include "platform/file_bytes.h"
#include "platform/unchanging_files.h"

namespace media {

MusicDevice::MusicDevice(gui::Mixer& mixer, gui::TickSource now)
    : mixer_(mixer), now_(std::move(now)) {}

MusicDevice::~MusicDevice() { close(); }

bool MusicDevice::open(const std::filesystem::path& file) {
  if (piece_) return false;
  const auto bytes = platform::readFileBytes(file, platform::kMaxMusicFileBytes);
  if (!bytes) return false;
  const auto length = platform::rememberedNumber(file, "MIDI length", [&] {
    const auto ms = formats::midiLengthMs(*bytes);
    return ms ? std::optional<int64_t>(*ms) : std::nullopt;
  });
  if (!length) return false;
  const auto handle = mixer_.loadMusic(*bytes);
  if (!handle) return false;
  piece_ = Piece{*handle, static_cast<uint32_t>(*length), std::nullopt};
  return true;
}

void MusicDevice::play() {
  if (status() == MusicState::Stopped) playFromStart();
}

void MusicDevice::playFromStart() {
  if (!piece_) return;
  mixer_.startMusic(piece_->handle);
  piece_->startedAt = now_();
}

void MusicDevice::stop() {
  if (!piece_) return;
  mixer_.haltMusic();
  piece_->startedAt.reset();
}

void MusicDevice::close() {
  if (!piece_) return;
  mixer_.freeMusic(piece_->handle);
  piece_.reset();
}

std::optional<uint32_t> MusicDevice::stopsAt() const {
  if (!piece_ || !piece_->startedAt) return std::nullopt;
  return mixer_.musicSoundedAt(piece_->handle).value_or(*piece_->startedAt) + piece_->lengthMs;
}

std::optional<MusicState> MusicDevice::status() const {
  if (!piece_) return std::nullopt;
  if (!piece_->startedAt) return MusicState::Stopped;
  const uint32_t began = mixer_.musicSoundedAt(piece_->handle).value_or(*piece_->startedAt);
  const auto elapsed = static_cast<int32_t>(now_() - began);  // below 0 when just begun
  return elapsed < static_cast<int64_t>(piece_->lengthMs) ? MusicState::Playing
                                                          : MusicState::Stopped;
}

}  // namespace media
