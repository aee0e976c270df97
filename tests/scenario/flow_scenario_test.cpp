// Flow control run headless: jumps, loops, if-else blocks, the one-level subroutine and
// the jump and message tables, with the consequences scripts may rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario.h"

using testing_support::errorBox;
using testing_support::flag;
using testing_support::runScript;
using testing_support::ScenarioOptions;
using testing_support::ScenarioResult;

namespace {

// The lines the loop ran, in order.
std::vector<long> linesRun(const std::string& script) {
  ScenarioOptions o;
  o.traceLines = true;
  ScenarioResult r = runScript(script, o);
  std::vector<long> out;
  for (const auto& e : r.all("line")) out.push_back(e["line"].integer());
  return out;
}

// Runs a script that must stop with a script error; gives the box text.
const char* const kJumps[] = {"GOTO", "LOOP", "DORT", "DOEX", "ELSE"};

TEST(FlowScenario, JumpsGoToTheirTarget) {
  for (const char* kw : kJumps) {
    std::string script = std::string(kw) + ",4\nLET,1,1\nLET,2,1\nLET,3,1\nEXIT\n";
    EXPECT_EQ(linesRun(script), (std::vector<long>{1, 4, 5})) << kw;
  }
}

TEST(FlowScenario, JumpToItsOwnLineGoesOnWithTheNext) {
  for (const char* kw : kJumps) {
    std::string script = "LET,1,1\n" + std::string(kw) + ",2\nEXIT\n";
    EXPECT_EQ(linesRun(script), (std::vector<long>{1, 2, 3})) << kw;
  }
}

TEST(FlowScenario, JumpTargetsMayBeFlagReferences) {
  auto r = runScript("LET,7,4\nGOTO,F07\nLET,1,1\nLET,2,1\nEXIT\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(flag(r, 1), 0);
  EXPECT_EQ(flag(r, 2), 1);
}

TEST(FlowScenario, JumpToLineZeroOrAnEmptyLineStops) {
  EXPECT_EQ(errorBox("GOTO,0\n"), "命令無し( 0)\r");
  EXPECT_EQ(errorBox("GOTO,1200\n"), "命令無し( 1200)\r");
  EXPECT_EQ(errorBox("LOOP,9\nEXIT\n"), "命令無し( 9)\r");
}

TEST(FlowScenario, JumpOutsideTheStoreIsReportedOnTheJumpingLine) {
  for (const char* kw : kJumps) {
    for (const char* target : {"1201", "-1", "32767", "-32768"}) {
      std::string line = std::string(kw) + "," + target;
      EXPECT_EQ(errorBox("LET,1,1\n" + line + "\n"), "範囲外( 2)\r" + line);
    }
  }
  EXPECT_EQ(errorBox("LET,1,1\nGOSUB,1300\n"), "範囲外( 2)\rGOSUB,1300");
  EXPECT_EQ(errorBox("LET,1,-5\nGOTO,F01\n"), "範囲外( 2)\rGOTO,F01");
}

TEST(FlowScenario, JumpFieldErrors) {
  EXPECT_EQ(errorBox("GOTO\n"), "引数無し( 1)\rGOTO");
  EXPECT_EQ(errorBox("GOTO,abc\n"), "数値不正( 1)\rGOTO,abc");
  EXPECT_EQ(errorBox("GOTO,\n"), "数値不正( 1)\rGOTO,");
  EXPECT_EQ(errorBox("GOSUB,F31\n"), "範囲外( 1)\rGOSUB,F31");
}

TEST(FlowScenario, MarkersDoNothing) {
  auto r = runScript("DO\nENDIF\nENDEV\nENDFP\nENDFJ\nENDCM\nLET,1,1\nEXIT\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(flag(r, 1), 1);
}

/* The if-else layout: IF jumps to the false part, ELSE skips it. */
TEST(FlowScenario, IfElseBlock) {
  const char* body =
      "IF,F01=01,6\n"  // 2
      "LET,2,1\n"      // 3: true part
      "ELSE,7\n"       // 4
      "LET,2,9\n"      // 5: never runs
      "LET,3,1\n"      // 6: false part
      "ENDIF\n"        // 7
      "EXIT\n";        // 8
  EXPECT_EQ(linesRun(std::string("LET,1,1\n") + body), (std::vector<long>{1, 2, 3, 4, 7, 8}));
  EXPECT_EQ(linesRun(std::string("LET,1,0\n") + body), (std::vector<long>{1, 2, 6, 7, 8}));
  auto t = runScript(std::string("LET,1,1\n") + body);
  EXPECT_EQ(flag(t, 2), 1);
  EXPECT_EQ(flag(t, 3), 0);
  auto f = runScript(std::string("LET,1,0\n") + body);
  EXPECT_EQ(flag(f, 2), 0);
  EXPECT_EQ(flag(f, 3), 1);
}

TEST(FlowScenario, EvaIsTheSameAsIf) {
  const char* body = "EVA,F01>02&F02=00,4\nLET,3,1\nENDEV\nEXIT\n";
  EXPECT_EQ(linesRun(std::string("LET,1,3\n") + body), (std::vector<long>{1, 2, 3, 4, 5}));
  EXPECT_EQ(linesRun(std::string("LET,1,2\n") + body), (std::vector<long>{1, 2, 4, 5}));
}

TEST(FlowScenario, IfReadsItsTargetOnlyWhenFalse) {
  // True: the target field is never read, missing or not a number.
  for (const char* line : {"IF,F01=00", "IF,F01=00,abc", "EVA,F01=00", "IF,F01=00,9999"}) {
    auto r = runScript(std::string(line) + "\nLET,2,1\nEXIT\n");
    EXPECT_EQ(r.reason(), "exit") << line;
    EXPECT_EQ(flag(r, 2), 1) << line;
  }
  // False: it is.
  EXPECT_EQ(errorBox("LET,1,1\nIF,F01=00\n"), "引数無し( 2)\rIF,F01=00");
  EXPECT_EQ(errorBox("LET,1,1\nEVA,F01=00,abc\n"), "数値不正( 2)\rEVA,F01=00,abc");
  EXPECT_EQ(errorBox("LET,1,1\nIF,F01=00,9999\n"), "範囲外( 2)\rIF,F01=00,9999");
}

TEST(FlowScenario, IfConditionErrors) {
  EXPECT_EQ(errorBox("IF\n"), "引数無し( 1)\rIF");
  EXPECT_EQ(errorBox("IF,F01 = 01,3\n"), "比較式( 1)\rIF,F01 = 01,3");
  EXPECT_EQ(errorBox("IF,F01F02,3\n"), "比較式( 1)\rIF,F01F02,3");
  // An empty condition is false.
  EXPECT_EQ(linesRun("IF,,3\nLET,1,1\nEXIT\n"), (std::vector<long>{1, 3}));
}

/* A DO loop counting to 5, left by DOEX inside an IF. */
TEST(FlowScenario, DoLoopLeftByDoexInsideIf) {
  const char* script =
      "DO\n"           // 1
      "INC,1,99,S\n"   // 2
      "IF,F01=05,5\n"  // 3: at 5, leave
      "DOEX,8\n"       // 4
      "ENDIF\n"        // 5
      "LOOP,1\n"       // 6
      "LET,2,99\n"     // 7: after the loop, skipped by DOEX
      "LET,3,7\n"      // 8
      "EXIT\n";        // 9
  auto r = runScript(script);
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(flag(r, 1), 5);
  EXPECT_EQ(flag(r, 2), 0);
  EXPECT_EQ(flag(r, 3), 7);
}

/* DORT restarts the loop while a condition holds. */
TEST(FlowScenario, DortRestartsTheLoop) {
  const char* script =
      "DO\n"           // 1
      "INC,1,99,S\n"   // 2
      "IF,F01<03,6\n"  // 3
      "DORT,1\n"       // 4
      "ENDIF\n"        // 5
      "INC,2,99,S\n"   // 6
      "EXIT\n";        // 7
  auto r = runScript(script);
  EXPECT_EQ(flag(r, 1), 3);
  EXPECT_EQ(flag(r, 2), 1);
}

TEST(FlowScenario, GosubAndRet) {
  const char* script =
      "GOSUB,5\n"  // 1
      "LET,2,1\n"  // 2
      "EXIT\n"     // 3
      "EOF\n"      // 4
      "LET,1,1\n"  // 5
      "RET\n";     // 6
  EXPECT_EQ(linesRun(script), (std::vector<long>{1, 5, 6, 2, 3}));
}

TEST(FlowScenario, RetBeforeAnyGosubGoesToLineZero) {
  EXPECT_EQ(errorBox("LET,1,1\nRET\n"), "命令無し( 0)\r");
}

/* One return register: the outer RET returns after the inner GOSUB, like the inner. */
TEST(FlowScenario, TwoGosubsThenTwoRets) {
  const char* script =
      "GOSUB,5\n"      // 1: ReturnLine 2
      "LET,9,1\n"      // 2: never reached
      "EXIT\n"         // 3
      "EOF\n"          // 4
      "GOSUB,9\n"      // 5: ReturnLine 6
      "INC,4,99,S\n"   // 6
      "IF,F04<02,3\n"  // 7: second time here, leave
      "RET\n"          // 8: the outer RET
      "RET\n";         // 9: the inner RET
  EXPECT_EQ(linesRun(script), (std::vector<long>{1, 5, 9, 6, 7, 8, 6, 7, 3}));
  auto r = runScript(script);
  EXPECT_EQ(flag(r, 9), 0);
  EXPECT_EQ(flag(r, 4), 2);
}

/* --- FJ: the jump table --- */

const char* const kJumpTable =
    "FJ,1,5\n"   // 2
    "7\n"        // 3: entry 1
    "F05\n"      // 4: entry 2, a flag reference
    "9\n"        // 5: entry 3, the last allowed line
    "ENDFJ\n"    // 6
    "LET,2,7\n"  // 7
    "EXIT\n"     // 8
    "LET,2,9\n"  // 9
    "EXIT\n";    // 10

std::string jumpTable(int value) { return "LET,1," + std::to_string(value) + "\n" + kJumpTable; }

TEST(FlowScenario, FjJumpsToTheEntryTarget) {
  EXPECT_EQ(linesRun(jumpTable(1)), (std::vector<long>{1, 2, 7, 8}));
  // Entry 2 reads flag 5 (0): line 0 is empty.
  EXPECT_EQ(errorBox(jumpTable(2)), "命令無し( 0)\r");
  // Exactly at the last allowed line.
  EXPECT_EQ(linesRun(jumpTable(3)), (std::vector<long>{1, 2, 9, 10}));
}

TEST(FlowScenario, FjEntryWithAFlagReference) {
  const char* script =
      "LET,5,10\n"  // 1
      "LET,1,2\n"   // 2
      "FJ,1,5\n"    // 3
      "8\n"         // 4
      "F05\n"       // 5: entry 2
      "ENDFJ\n"     // 6
      "EXIT\n"      // 7
      "EXIT\n"      // 8
      "EXIT\n"      // 9
      "LET,3,1\n"   // 10
      "EXIT\n";     // 11
  EXPECT_EQ(linesRun(script), (std::vector<long>{1, 2, 3, 10, 11}));
}

TEST(FlowScenario, FjErrorsAreReportedOnTheFjLine) {
  EXPECT_EQ(errorBox(jumpTable(4)), "FJ( 2)\rFJ,1,5");  // just past the last line
  EXPECT_EQ(errorBox(jumpTable(0)), "FJ( 2)\rFJ,1,5");
  EXPECT_EQ(errorBox(jumpTable(-1)), "FJ( 2)\rFJ,1,5");
  EXPECT_EQ(errorBox(jumpTable(-32768)), "FJ( 2)\rFJ,1,5");
  // The end line plus the flag value do not wrap around 16 bits.
  EXPECT_EQ(errorBox("LET,1,32767\nFJ,1,32767\n"), "FJ( 2)\rFJ,1,32767");
  // An entry past the store, inside the allowed range.
  EXPECT_EQ(errorBox("LET,1,1300\nFJ,1,32767\n"), "範囲外( 2)\rFJ,1,32767");
  EXPECT_EQ(errorBox("FJ,31,5\n"), "範囲外( 1)\rFJ,31,5");
}

TEST(FlowScenario, FjReadsTheFlagBeforeTheLastLine) {
  EXPECT_EQ(errorBox("FJ,40,abc\n"), "範囲外( 1)\rFJ,40,abc");
  EXPECT_EQ(errorBox("LET,1,1\nFJ,1,abc\n"), "数値不正( 2)\rFJ,1,abc");
  EXPECT_EQ(errorBox("LET,1,1\nFJ,1\n"), "引数無し( 2)\rFJ,1");
}

TEST(FlowScenario, FjEntryThatIsNoNumberIsReportedOnTheEntryLine) {
  // Entry 4 is the ENDFJ line.
  EXPECT_EQ(errorBox("LET,1,4\nFJ,1,6\n7\n8\n9\nENDFJ\n"), "数値不正( 6)\rENDFJ");
}

TEST(FlowScenario, FjEntryTargetOutsideTheStoreIsReportedOnTheFjLine) {
  EXPECT_EQ(errorBox("LET,1,1\nFJ,1,3\n1201\n"), "範囲外( 2)\rFJ,1,3");
  EXPECT_EQ(errorBox("LET,1,1\nFJ,1,3\n-1\n"), "範囲外( 2)\rFJ,1,3");
}

TEST(FlowScenario, FjTargetEqualToItsOwnLineRunsTheFirstEntry) {
  // The advance rule moves on to line 3, which holds "2": no keyword.
  EXPECT_EQ(errorBox("LET,1,1\nFJ,1,3\n2\n"), "命令無し( 3)\r2");
}

/* --- FP: the message table (the cases that fail before showing anything) --- */

TEST(FlowScenario, FpErrorsAreReportedOnTheFpLine) {
  const char* table = "FP,2,5\nA\nB\nC\nENDFP\nEXIT\n";  // FP on line 3
  auto withValue = [&](int v) { return "LET,1,1\nLET,2," + std::to_string(v) + "\n" + table; };
  EXPECT_EQ(errorBox(withValue(0)), "FP( 3)\rFP,2,5");
  EXPECT_EQ(errorBox(withValue(-3)), "FP( 3)\rFP,2,5");
  EXPECT_EQ(errorBox(withValue(3)), "FP( 3)\rFP,2,5");  // just past the end line (3 + 3 > 5)
  EXPECT_EQ(errorBox("LET,2,32767\nFP,2,32767\n"), "FP( 2)\rFP,2,32767");
  EXPECT_EQ(errorBox("FP,2,-1\n"), "FP( 1)\rFP,2,-1");
}

TEST(FlowScenario, FpEndLinePastTheStoreIsOutOfRange) {
  EXPECT_EQ(errorBox("LET,2,1\nFP,2,1500\n"), "範囲外( 2)\rFP,2,1500");
  EXPECT_EQ(errorBox("FP,31,5\n"), "範囲外( 1)\rFP,31,5");
}

TEST(FlowScenario, FpReadsTheEndLineBeforeTheFlag) {
  EXPECT_EQ(errorBox("FP,40,abc\n"), "数値不正( 1)\rFP,40,abc");
  EXPECT_EQ(errorBox("FP,40,5\n"), "範囲外( 1)\rFP,40,5");
  EXPECT_EQ(errorBox("FP,2\n"), "引数無し( 1)\rFP,2");
}

/* --- FP: the entry shown through the message renderer --- */

const std::string kIndent = "　　　　　";  // every message line starts with five columns

// The text of one row of a `mes` snapshot, its runs joined.
std::string rowText(const testing_support::JsonValue& mes, size_t row) {
  std::string text;
  for (const auto& run : mes[row].array()) text += run[1].str();
  return text;
}

std::string messageTable(int value) {
  return "LET,2," + std::to_string(value) +
         "\n"
         "FP,2,6\n"       // 2
         "あいう\n"       // 3: entry 1
         "かきく\n"       // 4: entry 2
         "さしす,注釈\n"  // 5: entry 3, its field 1 only
         "ENDFP\n"        // 6: entry 4, the end line
         "EXIT\n";        // 7
}

TEST(FlowScenario, FpShowsTheEntryAndGoesOnAtTheEndLine) {
  const std::pair<int, std::string> cases[] = {
      {1, "あいう"}, {2, "かきく"}, {3, "さしす"}, {4, "ENDFP"},  // the end line itself
  };
  for (const auto& [value, shown] : cases) {
    auto r = runScript(messageTable(value));
    EXPECT_EQ(r.reason(), "exit") << value;
    const auto& mes = r.last("wait")["mes"];
    ASSERT_EQ(mes.size(), 2u);
    EXPECT_EQ(rowText(mes, 0), kIndent + shown) << value;
    EXPECT_EQ(rowText(mes, 1), "") << value;
    EXPECT_TRUE(r.all("error").empty()) << r.errorText();
    EXPECT_EQ(linesRun(messageTable(value)), (std::vector<long>{1, 2, 6, 7})) << value;
  }
}

TEST(FlowScenario, FpRunsTheEndLineWhateverItHolds) {
  // The end line is a command: its keyword is shown, then it runs.
  const char* script =
      "LET,2,2\n"  // 1
      "FP,2,4\n"   // 2
      "あ\n"       // 3
      "LET,5,1\n"  // 4
      "EXIT\n";    // 5
  auto r = runScript(script);
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(flag(r, 5), 1);
  EXPECT_EQ(rowText(r.last("wait")["mes"], 0), kIndent + "LET");
}

TEST(FlowScenario, FpEntryThatFillsTheAreaWaitsForAClick) {
  const std::string k19 = "あいうえおかきくけこさしすせそたちつて";
  auto r = runScript("LET,2,1\nFP,2,4\n" + k19 + k19 + "\nENDFP\nEXIT\n", "click\n");
  EXPECT_EQ(r.reason(), "exit");
  const auto& wait = r.first("wait");
  EXPECT_EQ(wait["kind"].str(), "click");
  EXPECT_EQ(wait["line"].integer(), 3);  // the entry line is current while it shows
  EXPECT_EQ(rowText(wait["mes"], 0), kIndent + k19);
  EXPECT_EQ(rowText(wait["mes"], 1), kIndent + k19);
  // The page was turned and nothing followed.
  EXPECT_EQ(rowText(r.last("wait")["mes"], 0), "");
}

TEST(FlowScenario, FpEntryMarkupErrorIsReportedOnTheEntryLine) {
  EXPECT_EQ(errorBox("LET,2,1\nFP,2,4\nあ＠99い\nENDFP\n"), "範囲外( 3)\rあ＠99い");
}

}  // namespace
