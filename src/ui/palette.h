#pragma once
// The sixteen colour numbers of message text: the classic console palette.
#include <array>

#include "formats/image.h"

namespace ui {

inline constexpr int kColorCount = 16;

inline constexpr std::array<formats::Color, kColorCount> kPalette = {
    formats::rgb(0, 0, 0),        // 0 black
    formats::rgb(0, 0, 128),      // 1 blue
    formats::rgb(0, 128, 0),      // 2 green
    formats::rgb(0, 128, 128),    // 3 cyan
    formats::rgb(128, 0, 0),      // 4 red
    formats::rgb(128, 0, 128),    // 5 magenta
    formats::rgb(128, 128, 0),    // 6 brown
    formats::rgb(192, 192, 192),  // 7 light grey
    formats::rgb(128, 128, 128),  // 8 dark grey
    formats::rgb(0, 0, 255),      // 9 light blue
    formats::rgb(0, 255, 0),      // 10 light green
    formats::rgb(0, 255, 255),    // 11 light cyan
    formats::rgb(255, 0, 0),      // 12 light red
    formats::rgb(255, 0, 255),    // 13 light magenta
    formats::rgb(255, 255, 0),    // 14 yellow
    formats::rgb(255, 255, 255),  // 15 white
};

}  // namespace ui
