// The interpreter loop run headless: keywords, the advance rule, the end of the program
// and the error box texts.
#include <gtest/gtest.h>

#include "support/scenario.h"

using testing_support::runScript;

namespace {

TEST(InterpreterScenario, ExitEndsWithItsReasonAndTheFlags) {
  auto r = runScript("LET,3,7\nEXIT\nLET,3,9\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(r.last("end")["flags"].size(), 31u);
  EXPECT_EQ(r.last("end")["flags"][3].integer(), 7);
  EXPECT_EQ(r.last("wait")["kind"].str(), "end");
}

TEST(InterpreterScenario, EofWithoutCommaIsRecognised) {
  auto r = runScript("LET,1,1\nEOF");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.reason(), "eof");
}

TEST(InterpreterScenario, UnknownKeywordsStopWithTheirLine) {
  struct Case {
    const char* script;
    const char* box;
  } cases[] = {
      {"LET,1,1\nFOO,1\n", "命令無し( 2)\rFOO,1"},
      {"let,1,1\n", "命令無し( 1)\rlet,1,1"},
      {"LET ,1,1\n", "命令無し( 1)\rLET ,1,1"},
      {" LET,1,1\n", "命令無し( 1)\r LET,1,1"},
      {"LET,1,1\n", "命令無し( 2)\r"},  // running off the end
      {"", "命令無し( 1)\r"},           // an empty script
  };
  for (const Case& c : cases) {
    auto r = runScript(c.script);
    EXPECT_EQ(r.status, 1) << c.script;
    EXPECT_EQ(r.reason(), "error");
    EXPECT_EQ(r.errorText(), c.box) << c.script;
  }
}

TEST(InterpreterScenario, MissingFieldIsReportedOnItsLine) {
  auto r = runScript("LET,1,1\nGOTO\n");
  EXPECT_EQ(r.errorText(), "引数無し( 2)\rGOTO");
}

TEST(InterpreterScenario, AJumpToItsOwnLineGoesOnWithTheNext) {
  auto r = runScript("GOTO,1\nLET,5,1\nEXIT\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(r.last("end")["flags"][5].integer(), 1);
}

TEST(InterpreterScenario, MissingScriptShowsTheLoadFailure) {
  auto folder = testing_support::scenarioFolder("missing-script");
  auto r = testing_support::runFolder(folder);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.errorText(), "ファイルが読込めません\r\nTORAMI.acs( 0)\r");
}

TEST(InterpreterScenario, LineEventsWithTraceLines) {
  testing_support::ScenarioOptions o;
  o.traceLines = true;
  auto r = runScript("LET,1,1\nGOTO,4\nLET,1,2\nEXIT\n", o);
  auto lines = r.all("line");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["line"].integer(), 1);
  EXPECT_EQ(lines[1]["line"].integer(), 2);
  EXPECT_EQ(lines[2]["line"].integer(), 4);
}

TEST(InterpreterScenario, MaxStepsEndsWithLimit) {
  testing_support::ScenarioOptions o;
  o.maxSteps = 50;
  auto r = runScript("DO\nLOOP,1\n", o);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.reason(), "limit");
}

TEST(InterpreterScenario, APollingLoopWithoutInputEndsForInput) {
  auto r = runScript("DO\nLOOP,1\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.reason(), "input");
  EXPECT_EQ(r.first("wait")["kind"].str(), "poll");
}

TEST(InterpreterScenario, ChanceDoubleClickArmsFlagTen) {
  // The script polls flag 10; the double click on the chance label sets it when
  // flag 1 holds 99.
  auto r = runScript("LET,1,99\nIF,F10=99,1\nEXIT\n", "chance\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(r.last("end")["flags"][10].integer(), 99);
}

}  // namespace
