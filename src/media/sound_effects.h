#pragma once
// SOUND of the window: a wave effect from the game folder with the play-sound flags;
// a synchronous one blocks the thread, and with it all input, until it has ended.
#include <cstdint>
#include <memory>

#include "engine/text.h"

namespace ui {
class Acs;
}

namespace media {

class SoundPlayer;

class SoundEffects {
 public:
  explicit SoundEffects(ui::Acs& window);
  ~SoundEffects();
  void SOUND(const engine::Text& name, int16_t flags);

 private:
  ui::Acs& w_;
  std::unique_ptr<SoundPlayer> player_;
};

}  // namespace media
