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
  switch (mode) {
    case 0:
      device.stop();
      device.close();
      piece_.reset();
      setTimerMIDI_(false);
      break;
    case 1: {
      device.stop();
      device.close();
      const auto file = folder_.find(name, U".MID");
      opened = file && device.open(*file);
      piece_ = opened ? file : std::nullopt;
      device.play();
      setTimerMIDI_(true);
      if (onRestartPossible) onRestartPossible(true);
      break;
    }
    case 9:
      device.close();
      piece_.reset();
      if (onRestartPossible) onRestartPossible(false);
      break;
    default:
      break;
  }
  recorder_.record("music", {{"mode", mode}, {"name", platform::toUtf8(name)}, {"ok", opened}});
  if (mode == 1 && !opened && onFailure) onFailure(name);
  return opened;
}

bool Music::timerMIDI_Timer() {
  if (bg().status() != "stopped") return false;
  bg().playFromStart();
  recorder_.record("music-restart");
  return true;
}

void Music::reopen() {
  if (!bg_) return;
  const bool playing = bg_->status() == "playing";
  bg_.reset();
  if (!piece_ || !bg().open(*piece_)) return;
  if (playing) bg().play();
}

std::optional<std::string_view> Music::status() const { return bg_ ? bg_->status() : std::nullopt; }

}  // namespace media
