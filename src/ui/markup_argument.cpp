#include "ui/markup_argument.h"

#include "engine/number.h"
#include "engine/script_error.h"
#include "ui/palette.h"

namespace ui {
namespace {

/* Messages are typed with a Japanese input method, where digits and letters come out
   full-width unless the writer switches back. A writer who types ＠１２ or ：Ａ means
   the same as ＠12 or ：A, so full-width digits, the full-width letters A-F and a-f and
   the ideographic space count as their ASCII forms in markup arguments. */
char32_t narrow(char32_t c) {
  if (c >= U'０' && c <= U'９') return U'0' + (c - U'０');
  if (c >= U'Ａ' && c <= U'Ｆ') return U'A' + (c - U'Ａ');
  if (c >= U'ａ' && c <= U'ｆ') return U'a' + (c - U'ａ');
  if (c == U'\u3000') return U' ';
  return c;
}

}  // namespace

std::optional<int> hexDigit(char32_t c) {
  c = narrow(c);
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  return std::nullopt;
}

std::optional<int16_t> twoCharacterNumber(engine::TextView two) {
  if (two.size() != 2) return std::nullopt;
  const char32_t narrowed[2] = {narrow(two[0]), narrow(two[1])};
  return engine::parseNumber(engine::TextView(narrowed, 2));
}

size_t markupArgumentCount(char32_t markup) {
  switch (markup) {
    case U'＆':
      return 4;
    case U'＠':
    case U'＃':
      return 2;
    case U'：':
      return 1;
    default:
      return 0;
  }
}

int markupValue(char32_t markup, engine::TextView arguments) {
  if (markup == U'＆' || markup == U'：') {
    auto h = arguments.empty() ? std::nullopt : hexDigit(arguments[0]);
    if (!h) engine::fail(engine::kNotANumber);
    return *h;
  }
  auto n = twoCharacterNumber(arguments.substr(0, 2));
  if (!n) engine::fail(engine::kNotANumber);
  if (markup == U'＠' && (*n < 0 || *n >= kColorCount)) engine::fail(engine::kOutOfRange);
  return *n;
}

}  // namespace ui
