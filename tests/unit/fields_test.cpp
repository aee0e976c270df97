#include "engine/fields.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/script_error.h"
#include "platform/text_codec.h"

namespace {

using engine::CUTA;
using engine::CUTV;
using engine::Flags;
using engine::Text;

std::string utf8(const Text& t) { return platform::toUtf8(t); }

Text errorWord(const std::function<void()>& action) {
  try {
    action();
  } catch (const engine::ScriptError& e) {
    return e.word;
  }
  return U"(no error)";
}

Flags sampleFlags() {
  Flags flags{};
  flags[0] = 100;
  flags[5] = 55;
  flags[12] = -1212;
  flags[30] = 3030;
  return flags;
}

struct CutaCase {
  Text line;
  int16_t n;
  Text field;
};

TEST(Cuta, CutsAtEveryAsciiComma) {
  const CutaCase cases[] = {
      {U"MES,ABC", 1, U"MES"},
      {U"MES,ABC", 2, U"ABC"},
      {U"GOTO,15", 2, U"15"},
      {U"LET, 12 ,3", 2, U" 12 "},       // blanks are kept
      {U"LET,3,,", 3, U""},              // an empty field is valid text
      {U"LET,3,,", 4, U""},              // the last field after the last comma
      {U"", 1, U""},                     // an empty line has one empty field
      {U"EOF", 1, U"EOF"},               // no comma: the whole line is field 1
      {U"MES,あ，い,う", 2, U"あ，い"},  // a full-width comma is ordinary content
      {U"A,B,C,D", 4, U"D"},
      {U"A,B", 0, U""},   // nothing is cut for n of 0
      {U"A,B", -3, U""},  // or less
      {U"A,B,C", 1, U"A"},
  };
  for (const CutaCase& c : cases)
    EXPECT_EQ(utf8(CUTA(c.line, c.n)), utf8(c.field)) << utf8(c.line) << " field " << c.n;
}

TEST(Cuta, AFieldPastTheLastIsMissing) {
  const std::pair<Text, int16_t> cases[] = {
      {U"MES,ABC", 3}, {U"LET,3,,", 5}, {U"", 2}, {U"EOF", 2}, {U"A,B,C", 32767},
  };
  for (const auto& c : cases) {  // (clang 14, the browser build's, captures no bindings)
    const auto& [line, n] = c;
    EXPECT_EQ(utf8(errorWord([&] { CUTA(c.first, c.second); })), "引数無し")
        << utf8(line) << " " << n;
  }
}

struct CutvCase {
  Text field;
  int16_t value;
};

TEST(Cutv, ReadsNumbersAndFlagReferences) {
  const Flags flags = sampleFlags();
  const CutvCase cases[] = {
      {U"15", 15},       {U" 12 ", 12},  // blanks around a number
      {U"\t7", 7},       {U"-5", -5},         {U"+5", 5},       {U"0", 0},
      {U"32767", 32767}, {U"-32768", -32768}, {U"007", 7},      {U"F5", 55},  // one digit
      {U"F05", 55},      {U"F12", -1212},     {U"F123", -1212},  // the third digit is ignored
      {U"F00", 100},     {U"F30", 3030},      {U"F05xyz", 55},   // everything after the third
                                                                 // character is ignored
  };
  for (const CutvCase& c : cases) {
    Text line = U"LET," + c.field + U",9";
    EXPECT_EQ(CUTV(line, 2, flags), c.value) << utf8(c.field);
  }
}

TEST(Cutv, RejectsWhatIsNoNumber) {
  const Flags flags = sampleFlags();
  const std::pair<Text, const char*> cases[] = {
      {U"", "数値不正"},      {U" ", "数値不正"},      {U"abc", "数値不正"},
      {U"12abc", "数値不正"}, {U"1 2", "数値不正"},    {U"40000", "数値不正"},
      {U"32768", "数値不正"}, {U"-32769", "数値不正"}, {U"99999999999999999999", "数値不正"},
      {U"-", "数値不正"},     {U"1.5", "数値不正"},    {U"0x10", "数値不正"},
      {U"１２", "数値不正"},  // full-width digits
      {U"f5", "数値不正"},    // lower case is no flag reference
      {U" F5", "数値不正"},   // nor is a blank before the F
      {U"F", "数値不正"},     {U"Fab", "数値不正"},    {U"F31", "範囲外"},
      {U"F99", "範囲外"},     {U"F-1", "範囲外"},
  };
  for (const auto& [field, word] : cases) {
    Text line = U"LET," + field + U",9";
    EXPECT_EQ(utf8(errorWord([&] { CUTV(line, 2, flags); })), word) << utf8(field);
  }
}

TEST(Cutv, AMissingFieldIsReportedBeforeAnyConversion) {
  const Flags flags = sampleFlags();
  EXPECT_EQ(utf8(errorWord([&] { CUTV(U"GOTO", 2, flags); })), "引数無し");
  EXPECT_EQ(CUTV(U"LET,1,F05", 3, flags), 55);  // the last field is available
}

TEST(Cutv, ReadsTheFlagsAsTheyAreAtTheCall) {
  Flags flags{};
  flags[7] = 1;
  EXPECT_EQ(CUTV(U"X,F07", 2, flags), 1);
  flags[7] = -9;
  EXPECT_EQ(CUTV(U"X,F07", 2, flags), -9);
}

}  // namespace
