#include "media/sound_effects.h"

#include "media/sound_player.h"
#include "platform/assets.h"
#include "platform/text_codec.h"
#include "ui/acs.h"

namespace media {

SoundEffects::SoundEffects(ui::Acs& window) : w_(window) {}

SoundEffects::~SoundEffects() = default;

void SoundEffects::SOUND(const engine::Text& name, int16_t flags) {
  if (!player_) {
    auto chime = platform::asset("chime.wav");
    player_ = std::make_unique<SoundPlayer>(w_.form.backend().mixer(),
                                            std::span<const uint8_t>(chime.data(), chime.size()));
  }
  SoundResult result = player_->SOUND(w_.mediaFile(name, U".wav"), flags);
  if (w_.tracing())
    w_.writeTrace(w_.traceEvent("sound")
                      .add("name", platform::toUtf8(name))
                      .add("flags", flags)
                      .add("ok", result.played));
  if (result.blockMs > 0) w_.form.backend().block(result.blockMs);
}

}  // namespace media
