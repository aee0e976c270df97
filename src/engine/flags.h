#pragma once
// The script's 31 flags: signed 16-bit numbers, all 0 at the start.
#include <array>
#include <cstdint>

namespace engine {

inline constexpr int kFlagCount = 31;
using Flags = std::array<int16_t, kFlagCount>;

// The chance label: while flag 1 holds 99 a double click on the label sets flag 10 to 99.
inline constexpr int kChanceOfferedFlag = 1;
inline constexpr int kChanceTakenFlag = 10;
inline constexpr int16_t kChanceValue = 99;

}  // namespace engine
