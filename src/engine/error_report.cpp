#include "engine/error_report.h"

#include "engine/error_words.h"

namespace engine {

Text errorBoxText(TextView word, int line, TextView lineText) {
  return Text(word) + U'(' + signedNumber(line) + U")\r" + Text(lineText);
}

}  // namespace engine
