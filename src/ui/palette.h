#pragma once
// The sixteen colour numbers of message text: the classic console palette.
#include <array>

#include "platform/image.h"

namespace ui {

inline constexpr int kColorCount = 16;

inline constexpr std::array<platform::Color, kColorCount> kPalette = {
    platform::rgb(0, 0, 0),        // 0 black
    platform::rgb(0, 0, 128),      // 1 blue
    platform::rgb(0, 128, 0),      // 2 green
    platform::rgb(0, 128, 128),    // 3 cyan
    platform::rgb(128, 0, 0),      // 4 red
    platform::rgb(128, 0, 128),    // 5 magenta
    platform::rgb(128, 128, 0),    // 6 brown
    platform::rgb(192, 192, 192),  // 7 light grey
    platform::rgb(128, 128, 128),  // 8 dark grey
    platform::rgb(0, 0, 255),      // 9 light blue
    platform::rgb(0, 255, 0),      // 10 light green
    platform::rgb(0, 255, 255),    // 11 light cyan
    platform::rgb(255, 0, 0),      // 12 light red
    platform::rgb(255, 0, 255),    // 13 light magenta
    platform::rgb(255, 255, 0),    // 14 yellow
    platform::rgb(255, 255, 255),  // 15 white
};

}  // namespace ui
