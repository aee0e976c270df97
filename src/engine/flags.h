#pragma once
// The script's 31 flags: signed 16-bit numbers, all 0 at the start.
#include <array>
#include <cstdint>

namespace engine {

inline constexpr int kFlagCount = 31;
using Flags = std::array<int16_t, kFlagCount>;

}  // namespace engine
