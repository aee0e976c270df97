// The flag commands run headless: LET, INC, DEC, FGCL and CLR, flag references in
// number fields, the order in which fields are read, and the errors they report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario.h"

using testing_support::errorBox;
using testing_support::flag;
using testing_support::runScript;
using testing_support::ScenarioResult;

namespace {

std::vector<long> endFlags(const ScenarioResult& r) {
  std::vector<long> out;
  for (const auto& v : r.last("end")["flags"].array()) out.push_back(v.integer());
  return out;
}

std::string repeat(const std::string& line, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += line + "\n";
  return out;
}

TEST(FlagsScenario, FlagsStartAtZeroAndLetStoresAnyValue) {
  auto r = runScript("LET,0,-32768\nLET,30,32767\nLET,15,-1\nEXIT\n");
  EXPECT_EQ(r.status, 0);
  std::vector<long> expected(31, 0);
  expected[0] = -32768;
  expected[30] = 32767;
  expected[15] = -1;
  EXPECT_EQ(endFlags(r), expected);
}

TEST(FlagsScenario, LetWithFlagReferences) {
  // Value: copy flag 5 into flag 1. Index: write the flag whose number flag 5 holds.
  auto r = runScript("LET,5,3\nLET,1,F05\nLET,F05,7\nLET,F5,8\nEXIT\n");
  EXPECT_EQ(flag(r, 1), 3);
  EXPECT_EQ(flag(r, 3), 8);
  EXPECT_EQ(flag(r, 5), 3);
}

TEST(FlagsScenario, LetIndexFromAFlagOutsideTheTable) {
  EXPECT_EQ(errorBox("LET,5,31\nLET,F05,1\n"), "範囲外( 2)\rLET,F05,1");
}

/* LET reads its value (field 3) before its index (field 2). */
TEST(FlagsScenario, LetReadsTheValueFirst) {
  const std::pair<const char*, const char*> cases[] = {
      {"LET,40,abc", "数値不正( 1)\rLET,40,abc"},  // both bad: the value's error
      {"LET,abc,40", "数値不正( 1)\rLET,abc,40"}, {"LET,40,1", "範囲外( 1)\rLET,40,1"},
      {"LET,40,F31", "範囲外( 1)\rLET,40,F31"},   {"LET,abc,F31", "範囲外( 1)\rLET,abc,F31"},
      {"LET,31,0", "範囲外( 1)\rLET,31,0"},       {"LET,-1,0", "範囲外( 1)\rLET,-1,0"},
      {"LET,40", "引数無し( 1)\rLET,40"},         {"LET", "引数無し( 1)\rLET"},
  };
  for (const auto& [line, box] : cases) EXPECT_EQ(errorBox(std::string(line) + "\n"), box);
}

struct NumberCase {
  const char* field;
  long value;
};

/* Number fields through a command: flag 5 holds 55 and flag 12 holds 1212. */
TEST(FlagsScenario, NumberFieldForms) {
  const NumberCase cases[] = {
      {"F5", 55}, {"F05", 55}, {"F12", 1212}, {"F123", 1212},   {" 12 ", 12},       {"12 ", 12},
      {"-7", -7}, {"+7", 7},   {"007", 7},    {"32767", 32767}, {"-32768", -32768}, {"F00", 0},
  };
  for (const NumberCase& c : cases) {
    auto r = runScript("LET,5,55\nLET,12,1212\nLET,1," + std::string(c.field) + "\nEXIT\n");
    EXPECT_EQ(r.reason(), "exit") << c.field;
    EXPECT_EQ(flag(r, 1), c.value) << c.field;
  }
}

TEST(FlagsScenario, NumberFieldErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"f5", "数値不正"},     {" F5", "数値不正"},   {"40000", "数値不正"}, {"", "数値不正"},
      {"-32769", "数値不正"}, {"1 2", "数値不正"},   {"F", "数値不正"},     {"Fx1", "数値不正"},
      {"１２", "数値不正"},   {"12abc", "数値不正"}, {"F31", "範囲外"},     {"F99", "範囲外"},
  };
  for (const auto& [field, word] : cases) {
    std::string line = "LET,1," + std::string(field);
    EXPECT_EQ(errorBox("LET,2,2\n" + line + "\n"), std::string(word) + "( 2)\r" + line) << field;
  }
}

TEST(FlagsScenario, IncWithModeLWrapsToOne) {
  const long expected[] = {1, 2, 3, 1, 2, 3, 1};
  for (int n = 1; n <= 7; ++n) {
    auto r = runScript(repeat("INC,4,3,L", n) + "EXIT\n");
    EXPECT_EQ(flag(r, 4), expected[n - 1]) << n << " times";
  }
}

TEST(FlagsScenario, IncWithAnyOtherModeStays) {
  for (const char* mode : {"S", "X", "l", ""}) {
    auto r = runScript(repeat("INC,4,3," + std::string(mode), 6) + "EXIT\n");
    EXPECT_EQ(flag(r, 4), 3) << mode;
  }
}

TEST(FlagsScenario, IncReadsTheModeOnlyAtTheLimit) {
  auto r = runScript("INC,4,3\nINC,4,3\nEXIT\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(flag(r, 4), 2);
  EXPECT_EQ(errorBox("LET,4,3\nINC,4,3\n"), "引数無し( 2)\rINC,4,3");
}

TEST(FlagsScenario, IncPastItsLimitKeepsRising) {
  EXPECT_EQ(flag(runScript("LET,4,10\nINC,4,3,L\nEXIT\n"), 4), 11);
  // Limit 0 and mode L from 0: wraps to 1 once, then rises.
  EXPECT_EQ(flag(runScript("INC,4,0,L\nEXIT\n"), 4), 1);
  EXPECT_EQ(flag(runScript("INC,4,0,L\nINC,4,0,L\nEXIT\n"), 4), 2);
  // A negative flag counts up through 0.
  EXPECT_EQ(flag(runScript("LET,4,-1\nINC,4,5,L\nINC,4,5,L\nEXIT\n"), 4), 1);
}

TEST(FlagsScenario, IncAtTheLargestValue) {
  EXPECT_EQ(errorBox("LET,4,32767\nINC,4,5,L\n"), "桁あふれ( 2)\rINC,4,5,L");
  // At its limit it wraps or stays, as at any limit.
  EXPECT_EQ(flag(runScript("LET,4,32767\nINC,4,32767,L\nEXIT\n"), 4), 1);
  EXPECT_EQ(flag(runScript("LET,4,32767\nINC,4,32767,S\nEXIT\n"), 4), 32767);
}

TEST(FlagsScenario, IncFieldOrderAndIndex) {
  EXPECT_EQ(errorBox("INC,31,3,L\n"), "範囲外( 1)\rINC,31,3,L");
  EXPECT_EQ(errorBox("INC,40,abc,L\n"), "数値不正( 1)\rINC,40,abc,L");
  EXPECT_EQ(errorBox("INC,abc,F31,L\n"), "数値不正( 1)\rINC,abc,F31,L");
  EXPECT_EQ(errorBox("INC,1\n"), "引数無し( 1)\rINC,1");
}

TEST(FlagsScenario, DecStopsAtZero) {
  auto r = runScript("LET,1,2\nDEC,1\nLET,3,-5\nDEC,3\nDEC,4\nLET,5,2\n" + repeat("DEC,5", 3) +
                     "EXIT\n");
  EXPECT_EQ(flag(r, 1), 1);
  EXPECT_EQ(flag(r, 3), -5);
  EXPECT_EQ(flag(r, 4), 0);
  EXPECT_EQ(flag(r, 5), 0);
  EXPECT_EQ(errorBox("DEC,31\n"), "範囲外( 1)\rDEC,31");
  EXPECT_EQ(errorBox("DEC\n"), "引数無し( 1)\rDEC");
}

// Every flag set to its index + 1, then `tail`.
ScenarioResult allSetThen(const std::string& tail) {
  std::string script;
  for (int k = 0; k <= 30; ++k)
    script += "LET," + std::to_string(k) + "," + std::to_string(k + 1) + "\n";
  return runScript(script + tail);
}

std::vector<long> setExcept(int first, int last) {
  std::vector<long> v;
  for (int k = 0; k <= 30; ++k) v.push_back(k >= first && k <= last ? 0 : k + 1);
  return v;
}

TEST(FlagsScenario, FgclAndClrClearARange) {
  for (const char* kw : {"FGCL", "CLR"}) {
    std::string k(kw);
    EXPECT_EQ(endFlags(allSetThen(k + ",3,5\nEXIT\n")), setExcept(3, 5)) << kw;
    EXPECT_EQ(endFlags(allSetThen(k + ",0,30\nEXIT\n")), setExcept(0, 30)) << kw;
    EXPECT_EQ(endFlags(allSetThen(k + ",7,7\nEXIT\n")), setExcept(7, 7)) << kw;
    EXPECT_EQ(endFlags(allSetThen(k + ",5,3\nEXIT\n")), setExcept(1, 0)) << kw;  // empty range
    EXPECT_EQ(endFlags(allSetThen(k + ",F02,F04\nEXIT\n")), setExcept(3, 5)) << kw;
  }
}

TEST(FlagsScenario, FgclRangeErrors) {
  // A range leaving the table is reported and clears nothing.
  auto r = allSetThen("FGCL,0,31\n");
  EXPECT_EQ(r.errorText(), "範囲外( 32)\rFGCL,0,31");
  EXPECT_EQ(endFlags(r), setExcept(1, 0));
  EXPECT_EQ(errorBox("CLR,-1,3\n"), "範囲外( 1)\rCLR,-1,3");
  // The last index is read first.
  EXPECT_EQ(errorBox("FGCL,40,abc\n"), "数値不正( 1)\rFGCL,40,abc");
  EXPECT_EQ(errorBox("CLR,abc,F31\n"), "範囲外( 1)\rCLR,abc,F31");
  EXPECT_EQ(errorBox("FGCL,3\n"), "引数無し( 1)\rFGCL,3");
}

TEST(FlagsScenario, ConditionsSeeFlagsAsSignedNumbers) {
  auto r = runScript("LET,1,-1\nIF,F01<00,4\nLET,2,1\nEXIT\n");
  EXPECT_EQ(flag(r, 2), 1);
  auto g = runScript("LET,1,1\nIF,F01<00,4\nLET,2,1\nEXIT\n");
  EXPECT_EQ(flag(g, 2), 0);
}

}  // namespace
