#pragma once
// The text of the error box: the error word, the line number in parentheses (a blank
// before a number that is not negative), CR, and the text of that line.
#include "engine/text.h"

namespace engine {

Text errorBoxText(TextView word, int line, TextView lineText);

}  // namespace engine
