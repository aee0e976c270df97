#pragma once
// The one text-to-number conversion of the script language, shared by number
// fields and condition operands.
#include <cstdint>
#include <optional>

#include "engine/text.h"

namespace engine {

/* A number field holds an optionally signed decimal integer, possibly with blanks
   (space or tab) around it. Anything else, a value outside the signed 16-bit range
   included, is no number and gives nullopt; the caller picks the error word. */
std::optional<int16_t> parseNumber(TextView text);

}  // namespace engine
