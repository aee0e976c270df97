#pragma once
// SOUND: a wave effect with the play-sound flags.
#include <cstdint>

#include "engine/text.h"

namespace ui {
class Acs;
}

namespace media {

class SoundEffects {
 public:
  explicit SoundEffects(ui::Acs& window) : w_(window) {}
  void SOUND(const engine::Text& name, int16_t flags);

 private:
  ui::Acs& w_;
};

}  // namespace media
