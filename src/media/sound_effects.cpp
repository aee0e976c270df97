#include "media/sound_effects.h"

#include "engine/script_error.h"
#include "ui/acs.h"

namespace media {

void SoundEffects::SOUND(const engine::Text&, int16_t) { engine::fail(U"未実装 SOUND"); }

}  // namespace media
