#include "engine/flag_ops.h"

#include <limits>

#include "engine/script_error.h"

namespace engine {
namespace {

bool isFlagIndex(int16_t index) { return index >= 0 && index < kFlagCount; }

}  // namespace

int16_t& flagAt(Flags& flags, int16_t index) {
  if (!isFlagIndex(index)) fail(kOutOfRange);
  return flags[static_cast<size_t>(index)];
}

int16_t flagAt(const Flags& flags, int16_t index) {
  if (!isFlagIndex(index)) fail(kOutOfRange);
  return flags[static_cast<size_t>(index)];
}

void incFlag(Flags& flags, int16_t index, int16_t limit, const std::function<Text()>& readMode) {
  int16_t& flag = flagAt(flags, index);
  if (flag == limit) {
    if (readMode() == U"L") flag = 1;
    return;
  }
  if (flag == std::numeric_limits<int16_t>::max()) fail(kOverflow);
  ++flag;
}

void decFlag(Flags& flags, int16_t index) {
  int16_t& flag = flagAt(flags, index);
  if (flag > 0) --flag;
}

void clearFlags(Flags& flags, int16_t first, int16_t last) {
  if (first > last) return;
  if (!isFlagIndex(first) || !isFlagIndex(last)) fail(kOutOfRange);
  for (int16_t k = first; k <= last; ++k) flags[static_cast<size_t>(k)] = 0;
}

}  // namespace engine
