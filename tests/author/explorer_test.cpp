// The explorer: small games with known endings, reachable errors (and the jumps that led
// to them), an ending no path reaches, waits that lead nowhere, loops back to earlier
// states, a poll loop and the chance; the same report from worker processes and from one
// process, and the same as the explorer gave before it played runs in parallel (recorded
// below); and the demo, whose three endings it finds with an input file for each.
#include "author/explorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "platform/port.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;
using author::ExploreOptions;
using author::ExploreReport;

ExploreReport exploreFolder(const fs::path& folder,
                            ExploreOptions::Method method = ExploreOptions::Method::Workers,
                            long maxStates = 200000) {
  ExploreOptions o;
  o.gameFolder = folder;
  o.method = method;
  o.maxStates = maxStates;
  return author::explore(o);
}

ExploreReport exploreScript(const std::string& name, const std::string& utf8Lines,
                            ExploreOptions::Method method = ExploreOptions::Method::Workers) {
  const fs::path folder = testing_support::scenarioFolder("explore-" + name);
  testing_support::writeScript(folder, utf8Lines);
  return exploreFolder(folder, method);
}

// The endings as "eof@4 exit@7 ", in order of their lines.
std::string endingsOf(const ExploreReport& r) {
  std::map<int, std::string> byLine;
  for (const auto& e : r.endings)
    byLine[e.line] = std::string(engine::traceName(e.reason)) + "@" + std::to_string(e.line) + " ";
  std::string out;
  for (const auto& [line, text] : byLine) out += text;
  return out;
}

std::string printed(const ExploreReport& r) {
  std::ostringstream out;
  author::printReport(out, r, "game");
  return out.str();
}

// The report without its timing: the counts of its first line, then its other lines.
std::string withoutTiming(const std::string& report) {
  return std::regex_replace(report,
                            std::regex("^explored [^:]*: (.*) in [0-9.]+ s \\([0-9]+ "
                                       "states per second\\)"),
                            "$1");
}

/* What the explorer said before it played runs in parallel, as it printed it, is compared
   with what it says now: the counts and every other line, whatever their order (endings
   and errors now come in the order a walk from the start reaches them), and without the
   jumps errors now name. */
std::multiset<std::string> comparable(const std::string& report) {
  std::istringstream in(std::regex_replace(
      withoutTiming(report), std::regex(" \\(reached by the jump on line \\d+\\)"), ""));
  std::multiset<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.insert(line);
  return lines;
}

struct GameCase {
  const char* name;
  const char* script;
  const char* before;  // the report of the explorer before, without its timing
};

const GameCase kGames[] = {
    {"endings",
     "CMST,1,＊stay＊leave＊talk\nCMSL,1,9\nCASE,100\nEOF\nCASE,101\nMES,さようなら￥\nEXIT\n"
     "CASE,102\nENDCM\nMES,こんにちは￥\nGOTO,2\n",
     "3 states, 6 moves, 4 runs\nendings: 2\n"
     "  EOF on line 4 after 1 action, 1 pick; flags all 0\n"
     "  EXIT on line 7 after 2 actions, 1 pick; flags all 0\n"
     "script errors: 0\nwaits from which nothing leads on: 0\nlines no path ran: none\n"
     "coverage: 8 of 8 lines (100.0%)\n"},
    {"error",
     "CMST,1,＊safe＊broken\nCMSL,1,7\nCASE,100\nEXIT\nCASE,101\nLET,40,1\nENDCM\nEXIT\nMES,"
     "never\n",
     "1 states, 3 moves, 3 runs\nendings: 1\n  EXIT on line 4 after 1 action, 1 pick; flags all 0\n"
     "script errors: 1\n  line 6: 範囲外( 6) / LET,40,1 after 1 action, 1 pick\n"
     "waits from which nothing leads on: 0\nlines no path ran: 7-9\n"
     "coverage: 4 of 7 lines (57.1%)\n"},
    {"unreachable", "IF,F05=00,3\nEOF\nEXIT\n",
     "0 states, 0 moves, 1 runs\nendings: 1\n  EOF on line 2 after 0 actions, 0 picks; flags all "
     "0\n"
     "script errors: 0\nwaits from which nothing leads on: 0\nlines no path ran: 3\n"
     "coverage: 2 of 3 lines (66.7%)\n"},
    {"deadend", "CMST,1,＊go\nCMSL,1,4\nCASE,100\nENDCM\nCMST,2,＠stuck\nCMSL,2,7\nENDCM\n",
     "2 states, 4 moves, 3 runs\nendings: 0\nscript errors: 0\n"
     "waits from which nothing leads on: 1\n  line 6 (menu wait, 1 state) after 1 action, 1 pick\n"
     "lines no path ran: 7\ncoverage: 5 of 6 lines (83.3%)\n"},
    {"loop",
     "CMST,1,＊again＊stop\nCMSL,1,7\nCASE,100\nMES,もう一度￥\nGOTO,2\nCASE,101\nENDCM\nEOF\n",
     "2 states, 4 moves, 3 runs\nendings: 1\n  EOF on line 8 after 1 action, 1 pick; flags all 0\n"
     "script errors: 0\nwaits from which nothing leads on: 0\nlines no path ran: none\n"
     "coverage: 6 of 6 lines (100.0%)\n"},
    {"chance", "LET,1,99\nMES,今だ￥\nLET,1,0\nIF,F10=99,6\nEOF\nEXIT\n",
     "2 states, 3 moves, 2 runs\nendings: 2\n  EXIT on line 6 after 1 action, 0 picks; flags all "
     "0\n"
     "  EOF on line 5 after 2 actions, 0 picks; flags F10=99\nscript errors: 0\n"
     "waits from which nothing leads on: 0\nlines no path ran: none\n"
     "coverage: 6 of 6 lines (100.0%)\n"},
    {"jumperror",
     "CMST,1,＊left＊right\nCMSL,1,7\nCASE,100\nGOTO,9\nCASE,101\nEXIT\nENDCM\nEOF\n"
     "MES,落とし穴￥\nLET,40,1\n",
     "2 states, 4 moves, 3 runs\nendings: 1\n  EXIT on line 6 after 1 action, 1 pick; flags all 0\n"
     "script errors: 1\n  line 10: 範囲外( 10) / LET,40,1 after 2 actions, 1 pick\n"
     "waits from which nothing leads on: 0\nlines no path ran: 7-8\n"
     "coverage: 6 of 8 lines (75.0%)\n"},
    {"reterror", "GOSUB,5\nLET,41,1\nEOF\nEOF\nMES,サブ￥\nRET\n",
     "1 states, 1 moves, 1 runs\nendings: 0\nscript errors: 1\n"
     "  line 2: 範囲外( 2) / LET,41,1 after 1 action, 0 picks\n"
     "waits from which nothing leads on: 0\nlines no path ran: 3-4\n"
     "coverage: 4 of 6 lines (66.7%)\n"},
    {"poll", "LET,1,99\nIF,F10=99,4\nGOTO,5\nGOTO,2\nLET,1,0\nEOF\n",
     "1 states, 1 moves, 1 runs\nendings: 1\n  EOF on line 6 after 1 action, 0 picks; flags "
     "F10=99\n"
     "script errors: 0\nwaits from which nothing leads on: 0\nlines no path ran: none\n"
     "coverage: 6 of 6 lines (100.0%)\n"},
    {"pollstuck", "MES,待つ￥\nIF,F03=01,4\nEOF\nGOTO,2\n",
     "2 states, 1 moves, 1 runs\nendings: 0\nscript errors: 0\n"
     "waits from which nothing leads on: 1\n  line 4 (poll wait, 1 state) after 1 action, 0 picks\n"
     "lines no path ran: 3\ncoverage: 3 of 4 lines (75.0%)\n"},
};

TEST(Explorer, SaysWhatItSaidBeforeOfEachGame) {
  for (const GameCase& game : kGames) {
    const ExploreReport r = exploreScript(game.name, game.script);
    EXPECT_EQ(comparable(printed(r)), comparable(game.before)) << game.name << "\n" << printed(r);
  }
}

TEST(Explorer, OneProcessAndWorkersGiveTheSameReport) {
  for (const GameCase& game : kGames) {
    const ExploreReport inWorkers = exploreScript(game.name, game.script);
    const ExploreReport inProcess =
        exploreScript(game.name, game.script, ExploreOptions::Method::InProcess);
    EXPECT_EQ(inProcess.workers, 0) << game.name;
    if (platform::kCanCopyProcess && inWorkers.runs > 1) {
      EXPECT_GT(inWorkers.workers, 0) << game.name;  // the first run is played before them
    }
    EXPECT_EQ(withoutTiming(printed(inWorkers)), withoutTiming(printed(inProcess))) << game.name;
  }
}

TEST(Explorer, AnErrorNamesTheLineWhoseJumpLedThere) {
  struct Case {
    const char* name;
    const char* script;
    int line, jumpLine;
    const char* said;
  } cases[] = {
      // the pick of the menu on line 2, then lines in order
      {"error", kGames[1].script, 6, 2,
       "line 6: 範囲外( 6) / LET,40,1 (reached by the jump on line 2)"},
      // the pick leads to line 4, whose GOTO lands on line 9
      {"jumperror", kGames[6].script, 10, 4,
       "line 10: 範囲外( 10) / LET,40,1 (reached by the jump on line 4) after"},
      // RET on line 6 returns to the line after the GOSUB
      {"reterror", kGames[7].script, 2, 6, "(reached by the jump on line 6) after 1 action"},
      // an IF that does not jump is no jump: the GOTO before it is
      {"ifgoes", "GOTO,3\nEOF\nIF,F01=00,9\nLET,40,1\n", 4, 1, "(reached by the jump on line 1)"},
      // no jump at all before the error
      {"nojump", "MES,はい￥\nLET,40,1\n", 2, -1, "LET,40,1 after 1 action"},
  };
  for (const Case& c : cases) {
    const ExploreReport r = exploreScript(c.name, c.script);
    ASSERT_EQ(r.errors.size(), 1u) << c.name;
    EXPECT_EQ(r.errors[0].line, c.line) << c.name;
    EXPECT_EQ(r.errors[0].jumpLine, c.jumpLine) << c.name;
    EXPECT_NE(printed(r).find(c.said), std::string::npos) << c.name << "\n" << printed(r);
  }
}

TEST(Explorer, FindsEveryEndingWithItsShortestPath) {
  const auto r = exploreScript("endings", kGames[0].script);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(endingsOf(r), "eof@4 exit@7 ");
  for (const auto& e : r.endings)
    if (e.reason == engine::EndReason::Exit) {  // pick 1, then the click of the message
      EXPECT_EQ(author::inputFileText(e.path, "leave"), "# leave\npick 1\nclick\n");
    }
}

TEST(Explorer, ReportsAnErrorSomePathReachesAndTheLinesNoPathRan) {
  const auto r = exploreScript("error", kGames[1].script);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].text, "範囲外( 6) / LET,40,1");
  ASSERT_EQ(r.errors[0].path.size(), 1u);
  EXPECT_EQ(r.errors[0].path[0].n, 1);
  // Line 7 runs on no path (the error stops it), line 8 neither, line 9 lies past an EXIT.
  EXPECT_EQ(author::linesNeverRun(r), (std::vector<int>{7, 8, 9}));
}

TEST(Explorer, TheChanceIsTriedWhereItChangesAFlag) {
  const auto r = exploreScript("chance", kGames[5].script);
  EXPECT_EQ(endingsOf(r), "eof@5 exit@6 ");
  for (const auto& e : r.endings)
    if (e.reason == engine::EndReason::Eof) {  // the chance taken at the message: flag 10 is 99
      EXPECT_EQ(author::inputFileText(e.path, "x"), "# x\nchance\nclick\n");
    }
}

/* A limit of states stops the exploration at the same run however the runs are played:
   part of the demo, with runs played ahead of their turn in workers, and in one process. */
TEST(Explorer, WorkersAndOneProcessStopAtTheSameStateOfTheDemo) {
  const fs::path demo = fs::path(TORAMI_SOURCE_DIR) / "demo";
  for (long limit : {40L, 400L}) {
    const auto inWorkers = exploreFolder(demo, ExploreOptions::Method::Workers, limit);
    const auto inProcess = exploreFolder(demo, ExploreOptions::Method::InProcess, limit);
    EXPECT_FALSE(inWorkers.complete);
    EXPECT_EQ(withoutTiming(printed(inWorkers)), withoutTiming(printed(inProcess))) << limit;
  }
}

TEST(Explorer, TheDemoSaysWhatItSaidBeforeAndItsInputFilesReachItsEndings) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "thousands of runs of the demo: the Release run of the tests covers it";
#endif
  const fs::path demo = fs::path(TORAMI_SOURCE_DIR) / "demo";
  const auto r = exploreFolder(demo);
  const char* before =
      "2580 states, 7832 moves, 5253 runs\nendings: 3\n"
      "  EXIT on line 226 after 36 actions, 12 picks; flags F02=5 F04=2 F05=1 F06=2 F13=3 F14=1 "
      "F15=1 F17=4 (and 7 other sets of flags)\n"
      "  EOF on line 236 after 35 actions, 12 picks; flags F02=5 F04=2 F05=1 F06=3 F13=3 F14=1 "
      "F15=1 F17=4 (and 11 other sets of flags)\n"
      "  EXIT on line 218 after 43 actions, 13 picks; flags F02=5 F04=3 F05=1 F06=1 F10=99 F13=3 "
      "F14=1 F15=1 F16=1 F17=4 F18=1 (and 3 other sets of flags)\n"
      "script errors: 0\nwaits from which nothing leads on: 0\nlines no path ran: none\n"
      "coverage: 206 of 206 lines (100.0%)\n";
  EXPECT_EQ(comparable(printed(r)), comparable(before)) << printed(r);
  EXPECT_TRUE(r.complete);
  const fs::path out = testing_support::scenarioFolder("explore-demo-out");
  const auto files = author::writeInputFiles(r, out);
  ASSERT_EQ(files.size(), 3u);
  for (size_t i = 0; i < files.size(); ++i) {
    std::ifstream in(files[i]);
    std::stringstream text;
    text << in.rdbuf();
    testing_support::ScenarioOptions so;
    so.input = text.str();
    const auto run = testing_support::runFolder(demo, so);
    EXPECT_EQ(run.reason(), engine::traceName(r.endings[i].reason)) << files[i];
    EXPECT_EQ(run.last("end")["line"].integer(), r.endings[i].line) << files[i];
  }
}

}  // namespace
