#pragma once
// The arguments written after message markup characters: a hexadecimal digit (name
// slots) and a number in exactly two characters (colour, typing speed).
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/text.h"

namespace ui {

// 0..15 for 0-9, A-F or a-f; nullopt for anything else.
std::optional<int> hexDigit(char32_t c);
// The number written in the two characters, such as "05", "12" or " 5"; nullopt when
// they hold no number.
std::optional<int16_t> twoCharacterNumber(engine::TextView two);

// How many characters after a markup character belong to it: 4 after "＆" (a slot and a
// three-character name), 2 after "＠" and "＃", 1 after "："; 0 for any other character.
size_t markupArgumentCount(char32_t markup);
// What the arguments of a markup character give, as the message renderer uses it: the
// name slot of "＆" and "：", the colour number of "＠", the typing speed of "＃" (tens
// of milliseconds). "数値不正" for an argument that is no number or hexadecimal digit,
// "範囲外" for a colour outside 0..15.
int markupValue(char32_t markup, engine::TextView arguments);

}  // namespace ui
