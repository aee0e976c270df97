#include "media/background_music.h"

namespace media {

bool MUSPL(MusicDevice& bg, const std::optional<std::filesystem::path>& file, int16_t mode,
           const TimerSwitch& setTimerMIDI) {
  switch (mode) {
    case 0:
      bg.stop();
      bg.close();
      setTimerMIDI(false);
      return false;
    case 1: {
      bg.stop();
      bg.close();
      const bool opened = file && bg.open(*file);
      bg.play();
      setTimerMIDI(true);
      return opened;
    }
    case 9:
      bg.close();
      return false;
    default:
      return false;
  }
}

bool timerMIDI_Timer(MusicDevice& bg) {
  if (bg.status() != "stopped") return false;
  bg.playFromStart();
  return true;
}

}  // namespace media
