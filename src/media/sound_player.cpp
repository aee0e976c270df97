#include "media/sound_player.h"

#include "formats/wave_length.h"
#include "platform/file_bytes.h"

namespace media {

SoundPlayer::SoundPlayer(gui::Mixer& mixer, std::span<const uint8_t> defaultSound)
    : mixer_(mixer),
      defaultBytes_(defaultSound.begin(), defaultSound.end()),
      defaultLengthMs_(formats::waveLengthMs(defaultBytes_)) {}

/* The wave is checked by its own reader first: the mixer's loader would also take other
   kinds of files, and formats it cannot convert safely. */
SoundResult SoundPlayer::SOUND(const std::optional<std::filesystem::path>& file, int32_t flags) {
  if ((flags & kSoundNoStop) && mixer_.wavePlaying()) return {};
  mixer_.stopWave();
  const bool sync = (flags & kSoundAsync) == 0;
  const bool loop = !sync && (flags & kSoundLoop);
  auto bytes = file ? platform::readFileBytes(*file, platform::kMaxWaveFileBytes) : std::nullopt;
  const auto wave = bytes ? formats::readWave(*bytes) : std::nullopt;
  if (wave) formats::trimDataChunk(*bytes, *wave);
  if (wave && mixer_.playWave({*bytes, wave->lengthMs}, loop))
    return {true, sync ? wave->lengthMs : 0};
  if (flags & kSoundNoDefault) return {};
  return playDefault(sync);
}

/* The default sound stands in once, never looped. */
SoundResult SoundPlayer::playDefault(bool sync) {
  if (!defaultLengthMs_ || !mixer_.playWave({defaultBytes_, *defaultLengthMs_}, false)) return {};
  return {false, sync ? *defaultLengthMs_ : 0};
}

}  // namespace media
