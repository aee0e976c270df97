#include "media/fade.h"

#include "engine/script_error.h"
#include "ui/acs.h"

namespace media {

void FADE(ui::Acs&, int16_t) { engine::fail(U"未実装 FADE"); }

}  // namespace media
