#include "engine/error_report.h"

#include <cstdio>

namespace engine {

Text errorBoxText(TextView word, int line, TextView lineText) {
  char number[16];
  std::snprintf(number, sizeof number, line >= 0 ? " %d" : "%d", line);
  Text text(word);
  text += U'(';
  for (const char* c = number; *c; ++c) text += static_cast<char32_t>(*c);
  text += U")\r";
  text += lineText;
  return text;
}

Text loadFailureWord(TextView fileName) { return U"ファイルが読込めません\r\n" + Text(fileName); }

}  // namespace engine
