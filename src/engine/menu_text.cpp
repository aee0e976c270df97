#include "engine/menu_text.h"

#include "engine/script_error.h"

namespace engine {
namespace {

void checkMenu(int menu) {
  if (menu < 0 || menu >= kMenus) fail(kOutOfRange);
}

}  // namespace

void fillMenus(MenuTable& table, int menu, TextView text, size_t* position) {
  size_t at = 0;
  if (!position) position = &at;
  *position = 0;
  int m = menu;
  checkMenu(m);
  if (text.size() > 32767) fail(kOverflow);  // the count is 16-bit
  table[m].fill(Text());
  int entry = -1;
  for (; *position < text.size(); ++*position) {
    const char32_t c = text[*position];
    if (c == kMenuSeparator) {
      checkMenu(++m);
      table[m].fill(Text());
      entry = -1;
    } else if (isMenuMarker(c)) {
      if (++entry >= kEntries) fail(kOutOfRange);
      table[m][entry] = Text(1, c);
    } else {
      if (entry < 0) fail(kOutOfRange);  // text before the first marker
      table[m][entry] += c;
    }
  }
}

}  // namespace engine
