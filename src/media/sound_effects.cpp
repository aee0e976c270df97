#include "media/sound_effects.h"

#include "gui/assets.h"
#include "media/sound_player.h"
#include "platform/text_codec.h"

namespace media {

SoundEffects::SoundEffects(MixerSource mixer, const platform::GameFolder& folder,
                           std::function<void(uint32_t)> block, record::Recorder& recorder)
    : mixer_(std::move(mixer)), folder_(folder), block_(std::move(block)), recorder_(recorder) {}

SoundEffects::~SoundEffects() = default;

void SoundEffects::reset() { player_.reset(); }

/* The device opens with the first SOUND; the default chime stands in for a file that
   cannot be played. */
void SoundEffects::SOUND(const engine::Text& name, int16_t flags) {
  if (!player_) player_ = std::make_unique<SoundPlayer>(mixer_(), gui::asset("chime.wav"));
  const SoundResult result = player_->SOUND(folder_.find(name, U".wav"), flags);
  recorder_.record("sound",
                   {{"name", platform::toUtf8(name)}, {"flags", flags}, {"ok", result.played}});
  if (!result.played && onFailure) onFailure(name);
  if (result.blockMs > 0) block_(result.blockMs);
}

}  // namespace media
