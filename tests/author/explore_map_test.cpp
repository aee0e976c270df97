// The map of an explored story: one HTML page that needs nothing from outside, naming
// every ending, error and line never run, with the captions of the picks escaped; waits
// grouped by line and kind, click waits of a scene joined.
#include "author/explore_map.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "author/map_layout.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

// A menu whose picks end the game, reach an error by a jump, lead to a wait that goes
// nowhere, and show two pages of a scene; three lines run on no path.
constexpr const char* kStory =
    "CMST,1,＊<出る>＊&壊す＊止まる＊話す\n"  // 1
    "CMSL,1,13\n"
    "CASE,100\n"
    "EXIT\n"
    "CASE,101\n"  // 5
    "GOTO,15\n"
    "CASE,102\n"
    "GOTO,17\n"
    "CASE,103\n"
    "MES,一枚目￥\n"  // 10
    "MES,二枚目￥\n"
    "GOTO,2\n"
    "ENDCM\n"
    "EOF\n"
    "MES,落とし穴￥\n"  // 15
    "LET,40,1\n"
    "CMST,2,＠待つ\n"
    "CMSL,2,19\n"
    "ENDCM\n";

author::ExploreReport explored(const std::string& name) {
  const fs::path folder = testing_support::scenarioFolder("explore-map-" + name);
  testing_support::writeScript(folder, kStory);
  author::ExploreOptions o;
  o.gameFolder = folder;
  return author::explore(o);
}

TEST(ExploreMap, IsOnePageThatNamesEveryEndErrorAndLineNeverRun) {
  const auto r = explored("page");
  ASSERT_EQ(r.endings.size(), 1u);
  ASSERT_EQ(r.errors.size(), 1u);
  ASSERT_EQ(r.deadEnds.size(), 1u);
  ASSERT_EQ(author::linesNeverRun(r), (std::vector<int>{13, 14, 19}));
  const std::string page = author::exploreMapPage(r, "game<1>");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
  // Nothing from outside: no address, no file, no font, no script loaded.
  for (const char* outside : {"http", "src=", "href=", "@import", "url(h", "<link"})
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  for (const char* named :
       {"EXIT · line 4", "error · line 16", "LET,40,1 (reached by the jump on line 6)",
        "<p id=\"never\">13-14, 19</p>", "line 18 · menu", "leads nowhere", "Map of game&lt;1&gt;"})
    EXPECT_NE(page.find(named), std::string::npos) << named;
  // Captions are escaped: as the player sees them, never as markup.
  EXPECT_NE(page.find("pick 0 「&lt;出る&gt;」"), std::string::npos);
  EXPECT_NE(page.find("pick 1 「&amp;壊す」"), std::string::npos);
  EXPECT_EQ(page.find("<出る>"), std::string::npos);
  // Every element opened in the picture is closed.
  for (const char* tag : {"g", "text", "title", "svg", "table", "script", "style"}) {
    const std::regex open("<" + std::string(tag) + "[ >]"), close("</" + std::string(tag) + ">");
    const auto count = [&](const std::regex& re) {
      return std::distance(std::sregex_iterator(page.begin(), page.end(), re),
                           std::sregex_iterator());
    };
    EXPECT_EQ(count(open), count(close)) << tag;
  }
}

TEST(ExploreMap, GroupsWaitsByLineAndJoinsTheClickWaitsOfAScene) {
  const auto layout = author::layOutMap(explored("layout"));
  std::vector<std::string> places;
  for (const auto& p : layout.places) {
    std::string lines;
    for (int k : p.lines) lines += std::to_string(k) + " ";
    places.push_back(std::to_string(p.kind) + ":" + lines + author::waitKindText(p.wait));
  }
  // The start, the menu, the two pages of the scene (10, 11) as one place, the pit (15),
  // the menu that waits (18), the ending and the error.
  EXPECT_EQ(places.size(), 7u);
  EXPECT_NE(std::find(places.begin(), places.end(), "1:10 11 click"), places.end());
  // Nothing leads back to the start, and a place is at most one row below any place that
  // leads to it (rows count the fewest moves from the start).
  EXPECT_EQ(layout.places[0].row, 0);
  for (const auto& move : layout.moves) {
    EXPECT_NE(move.to, 0);
    EXPECT_LE(layout.places[move.to].row, layout.places[move.from].row + 1);
  }
  for (const auto& p : layout.places) {
    EXPECT_GT(p.x, 0);
    EXPECT_LT(p.x, layout.width);
    EXPECT_LT(p.y, layout.height);
  }
}

TEST(ExploreMap, AFileThatCannotBeWrittenIsSaid) {
  const auto r = explored("unwritable");
  const fs::path folder = testing_support::scenarioFolder("explore-map-unwritable-out");
  EXPECT_THROW(author::writeExploreMap(r, folder / "no such folder" / "map.html", "game"),
               engine::FatalError);
  author::writeExploreMap(r, folder / "map.html", "game");
  std::ifstream in(folder / "map.html", std::ios::binary);
  std::stringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), author::exploreMapPage(r, "game"));
}

}  // namespace
