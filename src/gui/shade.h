#pragma once
// Darkening and tinting parts of the screen for what is drawn over the game.
#include "formats/image.h"

namespace gui {

// Blends `color` over the rectangle (clipped) with `alpha` of 255.
void shade(formats::Image& image, const formats::Rect& r, formats::Color color, int alpha);

}  // namespace gui
