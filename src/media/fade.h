#pragma once
// FADE: blinds to black (mode 1) or a negative flash (mode 2) over the picture area.
#include <cstdint>

namespace ui {
class Acs;
}

namespace media {

void FADE(ui::Acs& window, int16_t mode);

}  // namespace media
