#pragma once
// The text of menus: CMST fills MenuTable from one text in which each marker starts an
// entry and "・" starts the next menu. The first character of an entry is its marker.
#include <cstddef>

#include "engine/state.h"
#include "engine/text.h"

namespace engine {

inline constexpr char32_t kMenuSeparator = U'・';
inline constexpr char32_t kPickMarker = U'＊';  // picking it ends the menu with a pick code
inline constexpr char32_t kBackMarker = U'＠';  // back to the menu the selection started with

// "０".."９": picking the entry opens the menu of that number.
constexpr bool isDigitMarker(char32_t c) { return c >= U'０' && c <= U'９'; }
constexpr bool isMenuMarker(char32_t c) {
  return c == kPickMarker || c == kBackMarker || isDigitMarker(c);
}

/* CMST: fills menu `menu` and the menus after it from `text`. The menus the text reaches
   are replaced whole; the others keep their entries. A menu outside 0..9, text before
   the first marker of a menu and a ninth entry are "範囲外", a text longer than the
   16-bit count "桁あふれ". When `position` is given it follows the character being
   read, so a caller that catches the error knows where it stopped. */
void fillMenus(MenuTable& table, int menu, TextView text, size_t* position = nullptr);

}  // namespace engine
