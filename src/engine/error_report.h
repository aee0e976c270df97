#pragma once
// The text of the error box: the error word, the line number in parentheses (a blank
// before a number that is not negative), CR, and the text of that line.
#include "engine/text.h"

namespace engine {

Text errorBoxText(TextView word, int line, TextView lineText);

// The word of a script file that cannot be loaded: the reason, CR LF, the file name.
Text loadFailureWord(TextView fileName);

}  // namespace engine
