#pragma once
// A point of a run: the pass of the interpreter loop, and which place inside that pass
// where events are processed (a wait for the user, a timed wait, the end of the pass).
// The same script given the same input at the same points runs the same way, so a game
// is saved as its input with the points where it came.
#include <compare>
#include <cstdint>

namespace record {

struct RunPoint {
  uint64_t pass = 0;
  uint32_t site = 0;
  auto operator<=>(const RunPoint&) const = default;
};

}  // namespace record
