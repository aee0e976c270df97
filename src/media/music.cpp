#include "media/music.h"

#include "platform/text_codec.h"

namespace media {

Music::Music(MixerSource mixer, gui::TickSource now, const platform::GameFolder& folder,
             TimerSwitch setTimerMIDI, record::Recorder& recorder)
    : mixer_(std::move(mixer)),
      now_(std::move(now)),
      folder_(folder),
      setTimerMIDI_(std::move(setTimerMIDI)),
      recorder_(recorder) {}

MusicDevice& Music::bg() {
  if (!bg_) bg_ = std::make_unique<MusicDevice>(mixer_(), now_);
  return *bg_;
}

/* The device opens with the first MUSPL, whatever its mode. */
bool Music::MUSPL(const engine::Text& name, int16_t mode) {
  MusicDevice& device = bg();
  bool opened = false;
  switch (static_cast<MusicMode>(mode)) {
    case MusicMode::Stop:
      device.stop();
      device.close();
      piece_.reset();
      setTimerMIDI_(false);
      break;
    case MusicMode::Play: {
      device.stop();
      device.close();
      const auto file = folder_.find(name, U".MID");
      opened = file && device.open(*file);
      piece_ = opened ? file : std::nullopt;
      device.play();
      setTimerMIDI_(true);
      if (onRestartPossible) onRestartPossible(opened);
      break;
    }
    case MusicMode::Close:
      device.close();
      piece_.reset();
      if (onRestartPossible) onRestartPossible(false);
      break;
    default:
      break;
  }
  recorder_.record("music", {{"mode", mode}, {"name", platform::toUtf8(name)}, {"ok", opened}});
  if (static_cast<MusicMode>(mode) == MusicMode::Play && !opened && onFailure) onFailure(name);
  return opened;
}

bool Music::timerMIDI_Timer() {
  if (bg().status() != MusicState::Stopped) return false;
  bg().playFromStart();
  recorder_.record("music-restart");
  return true;
}

void Music::reopen() {
  if (!bg_) return;
  const bool playing = bg_->status() == MusicState::Playing;
  bg_.reset();
  if (!piece_ || !bg().open(*piece_)) return;
  if (playing) bg().play();
}

std::optional<uint32_t> Music::quietUntil() const {
  return bg_ && bg_->status() == MusicState::Playing ? bg_->stopsAt() : std::nullopt;
}

std::optional<MusicState> Music::status() const { return bg_ ? bg_->status() : std::nullopt; }

}  // namespace media
