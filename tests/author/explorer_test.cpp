// The explorer: small games with known endings, a reachable error, an ending no path
// reaches, a menu that leads nowhere and a loop back to an earlier state; and the demo,
// whose three endings it finds with an input file for each that reaches it.
#include "author/explorer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;
using author::ExploreReport;

ExploreReport exploreScript(const std::string& name, const std::string& utf8Lines) {
  const fs::path folder = testing_support::scenarioFolder("explore-" + name);
  testing_support::writeScript(folder, utf8Lines);
  author::ExploreOptions o;
  o.gameFolder = folder;
  return author::explore(o);
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

TEST(Explorer, FindsEveryEndingWithItsShortestPath) {
  const auto r = exploreScript("endings",
                               "CMST,1,＊stay＊leave＊talk\n"
                               "CMSL,1,9\n"
                               "CASE,100\n"
                               "EOF\n"
                               "CASE,101\n"
                               "MES,さようなら￥\n"
                               "EXIT\n"
                               "CASE,102\n"
                               "ENDCM\n"
                               "MES,こんにちは￥\n"
                               "GOTO,2\n");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(endingsOf(r), "eof@4 exit@7 ");
  EXPECT_TRUE(r.errors.empty());
  EXPECT_TRUE(r.deadEnds.empty());
  for (const auto& e : r.endings)
    if (e.reason == engine::EndReason::Exit) {  // pick 1, then the click of the message
      EXPECT_EQ(author::inputFileText(e.path, "leave"), "# leave\npick 1\nclick\n");
    }
  // Every line but the CASE lines runs on some path.
  EXPECT_NE(printed(r).find("coverage: 8 of 8 lines (100.0%)"), std::string::npos) << printed(r);
}

TEST(Explorer, ReportsAnErrorSomePathReachesAndTheLinesNoPathRan) {
  const auto r = exploreScript("error",
                               "CMST,1,＊safe＊broken\n"
                               "CMSL,1,7\n"
                               "CASE,100\n"
                               "EXIT\n"
                               "CASE,101\n"
                               "LET,40,1\n"
                               "ENDCM\n"
                               "EXIT\n"
                               "MES,never\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].line, 6);
  EXPECT_EQ(r.errors[0].text, "範囲外( 6) / LET,40,1");
  ASSERT_EQ(r.errors[0].path.size(), 1u);
  EXPECT_EQ(r.errors[0].path[0].n, 1);
  // Line 7 runs on no path (the error stops it), line 8 neither, line 9 lies past an EXIT.
  EXPECT_NE(printed(r).find("lines no path ran: 7-9"), std::string::npos) << printed(r);
}

TEST(Explorer, AnEndingBehindAFalseConditionIsNotReached) {
  const auto r = exploreScript("unreachable",
                               "IF,F05=00,3\n"
                               "EOF\n"
                               "EXIT\n");
  EXPECT_EQ(endingsOf(r), "eof@2 ");  // flag 5 is always 0: the jump to the EXIT never comes
}

TEST(Explorer, AMenuThatLeadsNowhereIsADeadEnd) {
  const auto r = exploreScript("deadend",
                               "CMST,1,＊go\n"
                               "CMSL,1,4\n"
                               "CASE,100\n"
                               "ENDCM\n"
                               "CMST,2,＠stuck\n"
                               "CMSL,2,7\n"
                               "ENDCM\n");
  ASSERT_EQ(r.deadEnds.size(), 1u);
  EXPECT_EQ(r.deadEnds[0].line, 6);
  EXPECT_EQ(r.deadEnds[0].kind, "menu");
  EXPECT_TRUE(r.endings.empty());
}

TEST(Explorer, ALoopBackToAnEarlierStateEnds) {
  const auto r = exploreScript("loop",
                               "CMST,1,＊again＊stop\n"
                               "CMSL,1,7\n"
                               "CASE,100\n"
                               "MES,もう一度￥\n"
                               "GOTO,2\n"
                               "CASE,101\n"
                               "ENDCM\n"
                               "EOF\n");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(endingsOf(r), "eof@8 ");
  EXPECT_EQ(r.states, 2);  // the menu and the message
}

TEST(Explorer, TheChanceIsTriedWhereItChangesAFlag) {
  const auto r = exploreScript("chance",
                               "LET,1,99\n"
                               "MES,今だ￥\n"
                               "LET,1,0\n"
                               "IF,F10=99,6\n"
                               "EOF\n"
                               "EXIT\n");
  EXPECT_EQ(endingsOf(r), "eof@5 exit@6 ");
  for (const auto& e : r.endings)
    if (e.reason ==
        engine::EndReason::Eof) {  // the chance taken while the message waits: flag 10 is 99
      EXPECT_EQ(author::inputFileText(e.path, "x"), "# x\nchance\nclick\n");
    }
}

TEST(Explorer, TheDemoHasThreeEndingsAndTheirInputFilesReachThem) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "thousands of runs of the demo: the Release run of the tests covers it";
#endif
  const fs::path demo = fs::path(TORAMI_SOURCE_DIR) / "demo";
  author::ExploreOptions o;
  o.gameFolder = demo;
  const auto r = author::explore(o);
  EXPECT_TRUE(r.complete);
  EXPECT_TRUE(r.errors.empty());
  EXPECT_TRUE(r.deadEnds.empty());
  std::set<std::string> endings;
  for (const auto& e : r.endings)
    endings.insert(std::string(engine::traceName(e.reason)) + "@" + std::to_string(e.line));
  EXPECT_EQ(endings, (std::set<std::string>{"exit@218", "exit@226", "eof@236"}));
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
