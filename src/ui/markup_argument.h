#pragma once
// The arguments written after message markup characters: a hexadecimal digit (name
// slots) and a number in exactly two characters (colour, typing speed).
#include <cstdint>
#include <optional>

#include "engine/text.h"

namespace ui {

// 0..15 for 0-9, A-F or a-f; nullopt for anything else.
std::optional<int> hexDigit(char32_t c);
// The number written in the two characters, such as "05", "12" or " 5"; nullopt when
// they hold no number.
std::optional<int16_t> twoCharacterNumber(engine::TextView two);

}  // namespace ui
