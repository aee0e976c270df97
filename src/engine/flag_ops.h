#pragma once
// The arithmetic behind the flag commands LET, INC, DEC, FGCL and CLR. The commands
// read their fields; these helpers do the rest and report bad indexes and overflow.
#include <cstdint>
#include <functional>

#include "engine/flags.h"
#include "engine/text.h"

namespace engine {

/* Flag `index`, or "範囲外" when the index lies outside 0..30. */
int16_t& flagAt(Flags& flags, int16_t index);
int16_t flagAt(const Flags& flags, int16_t index);

/* INC: count up to `limit`. Only at the limit is the mode read (through readMode,
   so a line without a mode field works until then): "L" wraps to 1, any other
   text keeps the value. A flag above its limit keeps rising; rising past 32767 is
   "桁あふれ". */
void incFlag(Flags& flags, int16_t index, int16_t limit, const std::function<Text()>& readMode);

/* DEC: count down, never below 0; a flag at 0 or below is left as it is. */
void decFlag(Flags& flags, int16_t index);

/* FGCL and CLR: clear flags first..last. An empty range (first > last) does
   nothing; a range leaving 0..30 is "範囲外" and clears nothing. */
void clearFlags(Flags& flags, int16_t first, int16_t last);

}  // namespace engine
