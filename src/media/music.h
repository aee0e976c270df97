#pragma once
// MUSPL and the music timer: one background MIDI piece, looped by the timer.
#include <cstdint>

#include "engine/text.h"

namespace ui {
class Acs;
}

namespace media {

class Music {
 public:
  explicit Music(ui::Acs& window) : w_(window) {}
  void MUSPL(const engine::Text& name, int16_t mode);
  void timerMIDI_Timer();

 private:
  ui::Acs& w_;
};

}  // namespace media
