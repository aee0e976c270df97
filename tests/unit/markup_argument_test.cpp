// The arguments of message markup: hexadecimal slot digits and two-character numbers,
// full-width forms included.
#include "ui/markup_argument.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using ui::hexDigit;
using ui::twoCharacterNumber;

TEST(MessageMarkupArgument, HexDigits) {
  struct Case {
    char32_t c;
    std::optional<int> value;
  } cases[] = {
      {U'0', 0},
      {U'9', 9},
      {U'A', 10},
      {U'F', 15},
      {U'a', 10},
      {U'f', 15},
      {U'０', 0},
      {U'９', 9},
      {U'Ｂ', 11},
      {U'ｆ', 15},
      {U'G', std::nullopt},
      {U'g', std::nullopt},
      {U'Ｇ', std::nullopt},
      {U' ', std::nullopt},
      {U'あ', std::nullopt},
      {U'-', std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(hexDigit(c.c), c.value) << static_cast<int>(c.c);
}

TEST(MessageMarkupArgument, TwoCharacterNumbers) {
  struct Case {
    std::u32string text;
    std::optional<int16_t> value;
  } cases[] = {
      {U"05", 5},
      {U"12", 12},
      {U"99", 99},
      {U" 7", 7},
      {U"１２", 12},
      {U"\u3000５", 5},
      {U"0５", 5},
      {U"-1", -1},
      {U"AB", std::nullopt},
      {U"1X", std::nullopt},
      {U"  ", std::nullopt},
      {U"1", std::nullopt},
      {U"123", std::nullopt},
      {U"Ａ1", std::nullopt},
      {U"あ1", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(twoCharacterNumber(c.text), c.value);
}

}  // namespace
