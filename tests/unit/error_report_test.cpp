#include "engine/error_report.h"

#include <gtest/gtest.h>

#include "engine/error_words.h"
#include "platform/text_codec.h"

namespace {

using engine::errorBoxText;
using engine::Text;

std::string utf8(const Text& t) { return platform::toUtf8(t); }

struct BoxCase {
  Text word;
  int line;
  Text lineText;
  const char* box;
};

TEST(ErrorReport, BoxTextIsWordLineNumberCrAndLineText) {
  const BoxCase cases[] = {
      {U"命令無し", 12, U"FOO,1", "命令無し( 12)\rFOO,1"},
      {U"命令無し", 0, U"", "命令無し( 0)\r"},
      {U"範囲外", -1, U"", "範囲外(-1)\r"},
      {U"範囲外", -32768, U"", "範囲外(-32768)\r"},
      {U"FP", 1200, U"FP,2,5", "FP( 1200)\rFP,2,5"},
      {U"", 3, U"LET,1,1", "( 3)\rLET,1,1"},  // an empty word
      {U"引数無し", 7, U"MES,アイウ", "引数無し( 7)\rMES,アイウ"},
      {U"桁あふれ", 1201, U"", "桁あふれ( 1201)\r"},  // beyond the store
  };
  for (const BoxCase& c : cases)
    EXPECT_EQ(utf8(errorBoxText(c.word, c.line, c.lineText)), c.box) << c.line;
}

TEST(ErrorReport, LoadFailureWordNamesTheFileAfterCrLf) {
  Text word = engine::loadFailure(U"TORAMI.acs");
  EXPECT_EQ(utf8(word), "ファイルが読込めません\r\nTORAMI.acs");
  EXPECT_EQ(utf8(errorBoxText(word, 0, U"")), "ファイルが読込めません\r\nTORAMI.acs( 0)\r");
  EXPECT_EQ(utf8(errorBoxText(word, 1201, U"")), "ファイルが読込めません\r\nTORAMI.acs( 1201)\r");
}

}  // namespace
