#pragma once
// Everything the script can change, held by the window object for the whole run (the
// script's lines, which never change, are kept apart).
#include <array>
#include <cstdint>

#include "engine/flags.h"
#include "engine/text.h"

namespace engine {

inline constexpr int kMenus = 10;
inline constexpr int kEntries = 8;
inline constexpr int kItems = 8;

using MenuTable = std::array<std::array<Text, kEntries>, kMenus>;

struct State {
  int16_t CurLine = 0;
  int16_t CaseEndLine = 0;
  int16_t FpEndLine = 0;
  int16_t ReturnLine = 0;
  Flags flags{};
  MenuTable menuTable{};
  std::array<Text, kItems> ItemMessages{};
  std::array<Text, kItems> ItemCgTexts{};
};

}  // namespace engine
