#pragma once
// MUSPL and the music timer of the window: one background MIDI piece on the device
// "bg", looped by the 100 ms timer TimerMIDI.
#include <cstdint>
#include <memory>

#include "engine/text.h"

namespace ui {
class Acs;
}

namespace media {

class MusicDevice;

class Music {
 public:
  explicit Music(ui::Acs& window);
  ~Music();
  void MUSPL(const engine::Text& name, int16_t mode);
  void timerMIDI_Timer();

 private:
  MusicDevice& bg();
  ui::Acs& w_;
  std::unique_ptr<MusicDevice> bg_;
};

}  // namespace media
