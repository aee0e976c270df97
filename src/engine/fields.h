#pragma once
// Reading the fields of a script line: the line is cut at every ASCII comma, field 1 is
// the keyword. CUTA gives a field as text, CUTV as a number or a flag reference "F" + two
// characters. The interpreter reads the same fields from lines cut once at loading
// (ScriptStore::field) through fieldNumber.
#include <cstdint>

#include "engine/flags.h"
#include "engine/text.h"

namespace engine {

// Field n of `line`, character for character; "引数無し" when the line has fewer than
// n - 1 commas; empty text for n of 0 or less.
Text CUTA(TextView line, int16_t n);
// Field n of `line` as a number: a flag reference reads the flag. "数値不正" for a field
// that is not a signed decimal integer in -32768..32767, "範囲外" for a flag outside 0..30.
int16_t CUTV(TextView line, int16_t n, const Flags& flags);
// A field already cut, read as CUTV reads it.
int16_t fieldNumber(TextView field, const Flags& flags);

}  // namespace engine
