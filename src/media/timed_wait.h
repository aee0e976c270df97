#pragma once
// TWAIT: the one timing primitive of the script's procedures.
#include <cstdint>

#include "gui/form.h"

namespace media {

// Waits `ms` milliseconds while processing window events; 0 or less returns at once
// without processing events.
void TWAIT(gui::Form& form, int16_t ms);

}  // namespace media
