#include "media/music.h"

#include "engine/script_error.h"
#include "ui/acs.h"

namespace media {

void Music::MUSPL(const engine::Text&, int16_t) { engine::fail(U"未実装 MUSPL"); }
void Music::timerMIDI_Timer() {}

}  // namespace media
