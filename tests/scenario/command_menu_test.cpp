// The command menu run headless: CMST and CMSL with submenus and the heading, pick codes
// and the CASE search, the item menu with its picture and message, hiding and showing
// with the right button, the chance label, and the error boxes of the menu commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/picture_loader.h"
#include "gui/assets.h"
#include "menu_trace.h"
#include "support/fake_backend.h"
#include "support/scenario.h"
#include "ui/acs.h"

using namespace menu_trace;
using testing_support::runScript;
using testing_support::ScenarioOptions;

namespace {

using Lines = std::vector<long>;
using Menus = std::vector<std::string>;

ScenarioResult runWithLines(const std::string& script, const std::string& input) {
  ScenarioOptions o;
  o.input = input;
  o.traceLines = true;
  return runScript(script, o);
}

// The block of the walk-through: menu 1 and its submenu, CASE lines 22 to 28, ENDCM on 30.
std::string exampleBlock() {
  std::string s;
  for (int i = 1; i <= 19; ++i) s += "DO\n";
  return s +
         "CMST,1,＊Talk＊Look２Go・＊North＊South＠Back\n"  // 20
         "CMSL,1,30\n"                                      // 21
         "CASE,100\n"                                       // 22
         "MES,話す\n"                                       // 23
         "CASE,101\n"                                       // 24
         "MES,見る\n"                                       // 25
         "CASE,200\n"                                       // 26
         "MES,北へ\n"                                       // 27
         "CASE,201\n"                                       // 28
         "MES,南へ\n"                                       // 29
         "ENDCM\n"                                          // 30
         "LET,7,1\n"                                        // 31
         "EXIT\n";                                          // 32
}

const std::string kMenu1 = "1 コマンド [Talk|Look|Go|||||] 11100000";
const std::string kMenu2 = "1 Go＞ [North|South|Back|||||] 11100000";

TEST(CommandMenu, TheWalkThroughBlock) {
  struct Case {
    std::string input;
    Menus menus;
    long code;
    Lines after;  // lines run after the pick
    std::string message;
  } cases[] = {
      {"pick 0", {kMenu1}, 100, {23, 24, 30, 31, 32}, "話す"},
      {"pick 1", {kMenu1}, 101, {25, 26, 30, 31, 32}, "見る"},
      {"pick 2\npick 0", {kMenu1, kMenu2}, 200, {27, 28, 30, 31, 32}, "北へ"},
      {"pick 2\npick 2\npick 2\npick 1",
       {kMenu1, kMenu2, kMenu1, kMenu2},
       201,
       {29, 30, 31, 32},
       "南へ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    auto r = runWithLines(exampleBlock(), c.input);
    ASSERT_EQ(r.reason(), "exit");
    EXPECT_EQ(menuWaits(r), c.menus);
    EXPECT_EQ(picks(r), Lines{c.code});
    EXPECT_EQ(r.first("pick")["line"].integer(), 21);
    EXPECT_EQ(linesAfterPick(r), c.after);
    // Up to the pick, lines 1 to 21 ran once each; the CASE lines searched were not run.
    Lines before;
    for (const JsonValue& e : r.events) {
      if (e["ev"].str() == "pick") break;
      if (e["ev"].str() == "line") before.push_back(e["line"].integer());
    }
    Lines expected;
    for (long i = 1; i <= 21; ++i) expected.push_back(i);
    EXPECT_EQ(before, expected);
    const JsonValue& mes = r.last("wait")["mes"];
    ASSERT_EQ(mes[0].size(), 1u);
    EXPECT_EQ(mes[0][0][1].str(), "　　　　　" + c.message);
    EXPECT_EQ(endMenu(r), "null");
    EXPECT_EQ(flag(r, 7), 1);
  }
}

TEST(CommandMenu, PickCodesAreEntryNumbersNotLabelSlots) {
  auto r = runScript(
      "ADDCM,3,0,＊A\nADDCM,3,2,＊B\nADDCM,3,6,＊C\nCMSL,3,8\n"
      "CASE,302\nLET,5,2\nCASE,306\nENDCM\nEXIT\n",
      "pick 1\n");
  EXPECT_EQ(menuWaits(r), Menus{"1 コマンド [A|B|C|||||] 11100000"});
  EXPECT_EQ(picks(r), Lines{302});
  EXPECT_EQ(flag(r, 5), 2);
  r = runScript("ADDCM,3,0,＊A\nADDCM,3,2,＊B\nADDCM,3,6,＊C\nCMSL,3,6\nCASE,306\nENDCM\nEXIT\n",
                "pick 2\n");
  EXPECT_EQ(picks(r), Lines{306});
  EXPECT_EQ(r.reason(), "exit");
}

TEST(CommandMenu, AnEmptySubmenuAnswersOnlyAtItsHeading) {
  const std::string script = "CMST,1,＊A２Empty\nCMSL,1,4\nCASE,100\nENDCM\nEXIT\n";
  const std::string empty = "1 Empty＞ [|||||||] 00000000";
  // A left press on a blank label reaches the picture area: nothing happens.
  auto r = runScript(script, "pick 1\npick 0\npick 7\n");
  EXPECT_EQ(menuWaits(r), (Menus{"1 コマンド [A|Empty||||||] 11000000", empty}));
  EXPECT_EQ(r.reason(), "input");
  EXPECT_EQ(endMenu(r), empty);
  // A right press on a blank label is a right press on the picture area: it hides the menu.
  r = runScript(script, "pick 1\nrpick 0\n");
  EXPECT_EQ(endMenu(r), "2 Empty＞ [|||||||] 00000000");
  // The heading leads back to the start menu.
  r = runScript(script, "pick 1\nrpick 0\nrclick\nheading\npick 0\n");
  EXPECT_EQ(menuWaits(r), (Menus{"1 コマンド [A|Empty||||||] 11000000", empty,
                                 "1 コマンド [A|Empty||||||] 11000000"}));
  EXPECT_EQ(picks(r), Lines{100});
}

TEST(CommandMenu, AnEmptyStartMenuWaitsUntilTheWindowCloses) {
  auto r = runScript("CMSL,4,3\nCASE,400\nENDCM\nEXIT\n", "pick 0\nheading\npick 3\nclose\n");
  const std::string empty = "1 コマンド [|||||||] 00000000";
  EXPECT_EQ(menuWaits(r), (Menus{empty, empty}));  // the heading shows the same menu again
  EXPECT_TRUE(picks(r).empty());
  EXPECT_EQ(r.reason(), "close");
  EXPECT_EQ(r.status, 0);
}

TEST(CommandMenu, AMarkerAloneIsABlankLabelThatCanBePicked) {
  auto r = runScript("CMST,1,＊A＊＊C\nCMSL,1,4\nCASE,101\nENDCM\nEXIT\n", "pick 1\n");
  EXPECT_EQ(menuWaits(r), Menus{"1 コマンド [A||C|||||] 11100000"});
  EXPECT_EQ(picks(r), Lines{101});
  EXPECT_EQ(r.reason(), "exit");
}

TEST(CommandMenu, HeadingsOfSubmenuChains) {
  const std::string script =
      "CMST,1,＊A２Two・３Three＠Back１Home・＊X＠Up\nCMSL,1,4\nCASE,300\nENDCM\nEXIT\n";
  const std::string one = "1 コマンド [A|Two||||||] 11000000";
  const std::string two = "1 Two＞ [Three|Back|Home|||||] 11100000";
  const std::string three = "1 Three＞ [X|Up||||||] 11000000";
  struct Case {
    const char* input;
    Menus menus;
  } cases[] = {
      // Only the last opened entry names the heading.
      {"pick 1\npick 0\npick 0", {one, two, three}},
      // "＠" in a submenu of a submenu, "＠" one level down, and the heading all go home.
      {"pick 1\npick 0\npick 1\npick 1\npick 1\npick 1\npick 0\nheading\npick 1\npick 0\npick 0",
       {one, two, three, one, two, one, two, three, one, two, three}},
      // A digit entry naming the start menu shows it under "コマンド".
      {"pick 1\npick 2\npick 1\npick 0\npick 0", {one, two, one, two, three}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    auto r = runScript(script, c.input);
    EXPECT_EQ(menuWaits(r), c.menus);
    EXPECT_EQ(picks(r), Lines{300});
    EXPECT_EQ(r.reason(), "exit");
  }
}

TEST(CommandMenu, AHeadingClickOnTheStartMenuShowsItAgainAndNothingElse) {
  auto r =
      runScript("CMST,2,＊A＊B\nCMSL,2,4\nCASE,201\nENDCM\nEXIT\n", "heading\nheading\npick 1\n");
  const std::string two = "1 コマンド [A|B||||||] 11000000";
  EXPECT_EQ(menuWaits(r), (Menus{two, two, two}));
  EXPECT_EQ(picks(r), Lines{201});
  EXPECT_TRUE(r.all("item").empty());
}

TEST(CommandMenu, NonMarkerEntriesOutsideTheItemMenuChangeNothing) {
  auto r = runScript("CMST,3,＊A\nADDCM,3,1,-Plain\nCMSL,3,4\nCASE,300\nENDCM\nEXIT\n",
                     "pick 1\npick 1\npick 0\n");
  const std::string three = "1 コマンド [A|Plain||||||] 11000000";
  EXPECT_EQ(menuWaits(r), (Menus{three, three, three}));
  EXPECT_TRUE(r.all("item").empty());
  EXPECT_EQ(flag(r, 0), 0);
  EXPECT_EQ(picks(r), Lines{300});
}

// ---- the item menu ----

const int kItem = 100;  // tiles are 100 x 100 and land at (100, 100) of the picture area
const formats::Color kAreaBack = formats::rgb(64, 64, 64);

const formats::Image& strip() {
  static const formats::Image s = *formats::decodePicture(gui::asset("item_strip.gif"));
  return s;
}

formats::Image shot(const ScenarioResult& r, size_t waitIndex) {
  char name[16];
  std::snprintf(name, sizeof name, "%04zu.png", waitIndex + 1);
  auto image = formats::loadPicture(r.folder / "shots" / name);
  if (!image) throw std::runtime_error(std::string("no shot ") + name);
  return *image;
}

// Pixels of the tile square that differ from tile e of the strip (e < 0: from the area).
int tileDifferences(const formats::Image& shot, int e) {
  int n = 0;
  for (int y = 0; y < kItem; ++y)
    for (int x = 0; x < kItem; ++x) {
      formats::Color want = e < 0 ? kAreaBack : strip().at(kItem * e + x, y);
      n += shot.at(kItem + x, kItem + y) != want;
    }
  return n;
}

ScenarioResult runWithShots(const std::string& script, const std::string& input) {
  ScenarioOptions o;
  o.input = input;
  o.shots = true;
  return runScript(script, o);
}

// Items 0 to 3: two "＊" items, a plain one, an "＠" one; a branch for each "＊" pick.
const std::string kItemScript =
    "ITMS,0,ランプだ￥\n"   // 1
    "ITMS,1,鍵だ￥\n"       // 2
    "ITMS,2,地図だ\n"       // 3
    "ITMS,3,戻る\n"         // 4
    "CMST,0,＊Lamp＊Key\n"  // 5
    "ADDCM,0,2,-Map\n"      // 6
    "ADDCM,0,3,＠Back\n"    // 7
    "CMSL,0,12\n"           // 8
    "CASE,0\n"              // 9
    "MES,ランプを使う\n"    // 10
    "CASE,1\n"              // 11
    "ENDCM\n"               // 12
    "EXIT\n";               // 13
const std::string kItems = "1 コマンド [Lamp|Key|Map|Back||||] 11110000";

TEST(CommandMenu, TheStripHasDistinctTiles) {
  ASSERT_EQ(strip().width(), 800);
  ASSERT_EQ(strip().height(), 100);
  for (int e = 0; e < 8; ++e) {
    formats::Image frame(506, 384, kAreaBack);
    frame.paint(strip(), kItem, kItem, kItem, kItem, kItem * e, 0, formats::RasterOp::Copy);
    EXPECT_GT(tileDifferences(frame, -1), 1000) << e;  // not the background
    for (int other = 0; other < 8; ++other) {
      if (other == e) continue;
      EXPECT_GT(tileDifferences(frame, other), 1000) << e << " " << other;
    }
  }
}

TEST(CommandMenu, AStarItemShowsTileAndMessageThenClosesWithTheEntryAsCode) {
  auto r = runWithShots(kItemScript, "pick 1\nclick\n");
  ASSERT_EQ(r.reason(), "exit");
  auto waits = r.all("wait");
  ASSERT_EQ(waits.size(), 3u);  // the menu, the item message, the end
  EXPECT_EQ(describe(waits[0]["menu"]), kItems);
  EXPECT_EQ(tileDifferences(shot(r, 0), -1), 0);

  // The message is typed through the renderer and waits for its click, tile in place.
  const JsonValue& message = waits[1];
  EXPECT_EQ(message["kind"].str(), "click");
  EXPECT_EQ(message["cursor"].str(), "custom");
  EXPECT_EQ(message["mes"][0][0][1].str(), "　　　　　鍵だ");
  EXPECT_EQ(message["flags"][0].integer(), 1);
  EXPECT_EQ(describe(message["menu"]), kItems);
  EXPECT_EQ(tileDifferences(shot(r, 1), 1), 0);

  // Events in order: the tile, the message wait, the pick.
  std::vector<std::string> order;
  for (const JsonValue& e : r.events)
    if (e["ev"].str() == "item" || e["ev"].str() == "pick" || e["ev"].str() == "wait")
      order.push_back(e["ev"].str());
  EXPECT_EQ(order, (std::vector<std::string>{"wait", "item", "wait", "pick", "wait"}));
  EXPECT_EQ(r.first("item")["entry"].integer(), 1);
  EXPECT_EQ(picks(r), Lines{1});

  // Closing the menu cleared the tile; flag 0 keeps the entry.
  EXPECT_EQ(endMenu(r), "null");
  EXPECT_EQ(tileDifferences(shot(r, 2), -1), 0);
  EXPECT_EQ(flag(r, 0), 1);
}

TEST(CommandMenu, APlainItemShowsItselfAndLeavesTheMenuOpen) {
  // Map has no click wait in its message; the menu comes back with Map's tile shown.
  auto r = runWithShots(kItemScript, "pick 2\nheading\npick 0\nclick\n");
  ASSERT_EQ(r.reason(), "exit");
  auto waits = r.all("wait");
  ASSERT_EQ(waits.size(), 5u);
  EXPECT_EQ(describe(waits[1]["menu"]), kItems);
  EXPECT_EQ(waits[1]["flags"][0].integer(), 2);
  EXPECT_EQ(waits[1]["mes"][0][0][1].str(), "　　　　　地図だ");
  EXPECT_EQ(tileDifferences(shot(r, 1), 2), 0);
  // A heading click on the start menu clears nothing and shows no item.
  EXPECT_EQ(describe(waits[2]["menu"]), kItems);
  EXPECT_EQ(tileDifferences(shot(r, 2), 2), 0);
  // Then Lamp: its tile replaces Map's while its message waits.
  EXPECT_EQ(waits[3]["kind"].str(), "click");
  EXPECT_EQ(tileDifferences(shot(r, 3), 0), 0);
  std::vector<long> items;
  for (const JsonValue& e : r.all("item")) items.push_back(e["entry"].integer());
  EXPECT_EQ(items, (Lines{2, 0}));
  EXPECT_EQ(picks(r), Lines{0});
  EXPECT_EQ(r.last("wait")["mes"][0][0][1].str(), "　　　　　ランプを使う");
  EXPECT_EQ(tileDifferences(shot(r, 4), -1), 0);
}

TEST(CommandMenu, AnAtItemShowsItselfThenTheStartMenuWithTheAreaCleared) {
  const std::string script =
      "ITMS,3,戻る￥\nCMST,1,＊A０Items\nCMST,0,＊Lamp\nADDCM,0,3,＠Back\n"
      "CMSL,1,7\nCASE,100\nENDCM\nEXIT\n";
  auto r = runWithShots(script, "pick 1\npick 1\nclick\n");
  auto waits = r.all("wait");
  ASSERT_EQ(waits.size(), 5u);
  EXPECT_EQ(describe(waits[1]["menu"]), "1 Items＞ [Lamp|Back||||||] 11000000");
  EXPECT_EQ(waits[2]["kind"].str(), "click");
  EXPECT_EQ(waits[2]["flags"][0].integer(), 3);
  EXPECT_EQ(tileDifferences(shot(r, 2), 3), 0);
  EXPECT_EQ(describe(waits[3]["menu"]), "1 コマンド [A|Items||||||] 11000000");
  EXPECT_EQ(tileDifferences(shot(r, 3), -1), 0);
  EXPECT_EQ(r.reason(), "input");
}

TEST(CommandMenu, TheItemMenuReachedFromAnotherStartMenu) {
  const std::string script =
      "ITMS,1,鍵だ\nCMST,5,＊A０Items\nCMST,0,＊Lamp＊Key\nCMSL,5,8\n"
      "CASE,500\nLET,5,5\nCASE,1\nLET,5,1\nENDCM\nEXIT\n";
  auto r = runWithShots(script, "pick 1\npick 1\n");
  ASSERT_EQ(r.reason(), "exit");
  EXPECT_EQ(menuWaits(r),
            (Menus{"1 コマンド [A|Items||||||] 11000000", "1 Items＞ [Lamp|Key||||||] 11000000"}));
  EXPECT_EQ(r.first("item")["entry"].integer(), 1);
  EXPECT_EQ(picks(r), Lines{1});
  EXPECT_EQ(flag(r, 0), 1);
  EXPECT_EQ(flag(r, 5), 1);
  EXPECT_EQ(r.last("wait")["mes"][0][0][1].str(), "　　　　　鍵だ");
  EXPECT_EQ(tileDifferences(shot(r, r.all("wait").size() - 1), -1), 0);
}

TEST(CommandMenu, AReleaseOnALabelDuringTheItemMessagePicksNothing) {
  auto r =
      runScript("ITMS,1,ランプだ￥\nCMST,0,＊Key\nADDCM,0,1,-Lamp\nCMSL,0,6\nCASE,0\nENDCM\nEXIT\n",
                "pick 1\npick 0\nclick\n");
  EXPECT_EQ(r.reason(), "input");
  EXPECT_TRUE(picks(r).empty());
  const std::string items = "1 コマンド [Key|Lamp||||||] 11000000";
  EXPECT_EQ(menuWaits(r), (Menus{items, items}));
  EXPECT_EQ(r.all("item").size(), 1u);
}

// ---- the right button ----

const std::string kTwo =
    "CMST,1,＊A＊B\nCMSL,1,7\nCASE,100\nLET,5,1\nCASE,101\nLET,5,2\nENDCM\nEXIT\n";
const std::string kShown = "1 コマンド [A|B||||||] 11000000";
const std::string kHidden = "2 コマンド [A|B||||||] 11000000";

// Yellow caption pixels inside Label1(0) and dark green heading pixels in the shot.
int captionPixels(const formats::Image& shot) {
  int n = 0;
  for (int y = 280; y < 297; ++y)
    for (int x = 192; x < 313; ++x) n += shot.at(x, y) == formats::rgb(255, 255, 0);
  return n;
}
int headingPixels(const formats::Image& shot) {
  int n = 0;
  for (int y = 280; y < 297; ++y)
    for (int x = 72; x < 193; ++x) n += shot.at(x, y) == formats::rgb(0, 128, 0);
  return n;
}

TEST(CommandMenu, TheRightButtonHidesAndShowsTheMenu) {
  struct Case {
    const char* input;
    std::string end;
    Lines picks;
  } cases[] = {
      {"", kShown, {}},
      {"rclick", kHidden, {}},
      {"rclick\nrclick", kShown, {}},
      {"rclick\nrclick\nrclick", kHidden, {}},
      // A hidden label cannot be picked: the press lands on the picture area.
      {"rclick\npick 0", kHidden, {}},
      // ... and with the right button it is a right press on the picture area.
      {"rclick\nrpick 0", kShown, {}},
      {"rclick\npick 0\nrclick\npick 1", "null", {101}},
      // The right button on a shown label picks it and does not hide the menu.
      {"rpick 1", "null", {101}},
      {"rpick 5", kHidden, {}},  // a blank label: the picture area again
      {"pick 5", kShown, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    auto r = runWithShots(kTwo, c.input);
    EXPECT_EQ(endMenu(r), c.end);
    EXPECT_EQ(picks(r), c.picks);
    auto end = shot(r, r.all("wait").size() - 1);
    const bool visible = c.end.rfind("1 ", 0) == 0;
    EXPECT_EQ(captionPixels(end) > 0, visible);
    EXPECT_EQ(headingPixels(end) > 0, visible);
  }
}

TEST(CommandMenu, ARightClickWithNoActiveMenuDoesNothing) {
  auto r = runScript("MES,あ￥\nCMST,1,＊A\nCMSL,1,5\nCASE,100\nENDCM\nMES,い￥\nEXIT\n",
                     "rclick\npick 0\nrclick\n");
  ASSERT_EQ(r.reason(), "exit");
  auto waits = r.all("wait");
  ASSERT_EQ(waits.size(), 4u);
  EXPECT_EQ(describe(waits[0]["menu"]), "null");
  EXPECT_EQ(describe(waits[1]["menu"]), "1 コマンド [A|||||||] 10000000");
  EXPECT_EQ(describe(waits[2]["menu"]), "null");
  EXPECT_EQ(endMenu(r), "null");
}

/* Hiding the menu during the item message: the right click also ends the message's click
   wait, the menu is displayed again at once but stays in the hidden state. */
TEST(CommandMenu, HiddenDuringTheItemMessageStaysHiddenInState) {
  const std::string script =
      "ITMS,1,ランプだ￥\nCMST,0,＊Key\nADDCM,0,1,-Lamp\nCMSL,0,7\nCASE,0\nLET,5,1\nENDCM\nEXIT\n";
  const std::string shown = "1 コマンド [Key|Lamp||||||] 11000000";
  const std::string hidden = "2 コマンド [Key|Lamp||||||] 11000000";
  struct Case {
    const char* input;
    std::string end;
    bool labelsDrawn;
    Lines picks;
  } cases[] = {
      {"pick 1\nrclick", hidden, true, {}},
      {"pick 1\nrclick\nrclick", shown, true, {}},
      {"pick 1\nrclick\nrclick\nrclick", hidden, false, {}},
      {"pick 1\nrclick\nrclick\nrclick\npick 0", hidden, false, {}},
      {"pick 1\nrclick\nrclick\nrclick\npick 0\nrclick\npick 0", "null", false, {0}},
      // While the state says hidden the redisplayed labels are there and can be picked.
      {"pick 1\nrclick\npick 0", "null", false, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    auto r = runWithShots(script, c.input);
    EXPECT_EQ(menuWaits(r), (Menus{shown, hidden}));
    EXPECT_EQ(endMenu(r), c.end);
    EXPECT_EQ(picks(r), c.picks);
    EXPECT_EQ(captionPixels(shot(r, r.all("wait").size() - 1)) > 0, c.labelsDrawn);
  }
}

TEST(CommandMenu, TheChanceLabelSetsFlagTenOnlyWhenFlagOneIs99) {
  for (int one : {99, 98, 0, -99}) {
    auto r = runScript(
        "LET,1," + std::to_string(one) + "\nCMST,1,＊A\nCMSL,1,5\nCASE,100\nENDCM\nEXIT\n",
        "chance\npick 0\n");
    ASSERT_EQ(r.reason(), "exit");
    EXPECT_EQ(flag(r, 10), one == 99 ? 99 : 0) << one;
  }
  // Every double click sets it again.
  auto r =
      runScript("LET,1,99\nCMST,1,＊A＊B\nCMSL,1,6\nCASE,100\nLET,10,5\nCASE,101\nENDCM\nEXIT\n",
                "chance\npick 0\n");
  EXPECT_EQ(flag(r, 10), 5);
  r = runScript(
      "LET,1,99\nCMST,1,＊A＊B\nCMSL,1,7\nCASE,100\nLET,10,5\nCMSL,1,7\nCASE,101\nENDCM\nEXIT\n",
      "chance\npick 0\nchance\npick 1\n");
  EXPECT_EQ(flag(r, 10), 99);
}

/* The handlers themselves, driven press by press: the colour while a label is held down
   and after its release, and that the release answers the menu's wait with its label. */
TEST(CommandMenu, PressedLabelsTurnDarkRedAndTheHeadingGreen) {
  testing_support::FakeBackend backend;
  gui::Form form(backend, 506, 384);
  ui::Controls c = ui::createControls(form);
  engine::MenuTable table{};
  record::Recorder recorder;
  ui::CommandMenu menu(
      form, *c.Picture1, *c.LBcm, c.Label1, table, [](int) {}, recorder);
  menu.CMST(1, U"＊A＊B＊C＊D＊E＊F＊G＊H");
  auto press = [&](gui::Control& control, gui::RawInput::Type type, gui::MouseButton button) {
    const formats::Point p = control.screenRect().centre();
    backend.press(type, p.x, p.y, button);
  };
  for (auto button : {gui::MouseButton::Left, gui::MouseButton::Right}) {
    for (int i = 0; i < engine::kEntries; ++i) {
      SCOPED_TRACE(std::to_string(static_cast<int>(button)) + " " + std::to_string(i));
      c.Picture1->setVisible(true);
      c.Label1[i]->setVisible(true);
      c.Label1[i]->setEnabled(true);
      press(*c.Label1[i], gui::RawInput::Press, button);
      form.doEvents();
      EXPECT_EQ(c.Label1[i]->backColor(), formats::rgb(192, 0, 0));
      press(*c.Label1[i], gui::RawInput::Release, button);
      EXPECT_EQ(menu.CMSL(1), 100 + i);
      EXPECT_EQ(c.Label1[i]->backColor(), formats::rgb(64, 64, 64));
    }
    c.LBcm->setVisible(true);
    press(*c.LBcm, gui::RawInput::Press, button);
    form.doEvents();
    EXPECT_EQ(c.LBcm->backColor(), formats::rgb(0, 192, 0));
    press(*c.LBcm, gui::RawInput::Release, button);
    press(*c.Label1[7], gui::RawInput::Press, button);
    press(*c.Label1[7], gui::RawInput::Release, button);
    EXPECT_EQ(menu.CMSL(1), 107);  // the heading redisplayed the menu, then H was picked
    EXPECT_EQ(c.LBcm->backColor(), formats::rgb(0, 128, 0));
  }
}

// ---- CASE and ENDCM ----

TEST(CommandMenu, CaseBeforeAnyMenuGoesToLineZero) {
  auto r = runScript("LET,1,1\nCASE,100\nEXIT\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.errorText(), "命令無し( 0)\r");
}

TEST(CommandMenu, APickWithoutItsCaseStopsAtEndcm) {
  const std::string script =
      "CMST,2,＊a＊b＊c＊d\nCMSL,2,9\nCASE,200\nMES,a\nCASE,201\nMES,b\nCASE,202\nMES,c\n"
      "ENDCM\nEXIT\n";
  auto r = runScript(script, "pick 3\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.reason(), "error");
  EXPECT_EQ(picks(r), Lines{203});
  EXPECT_EQ(r.errorText(), "CASE 203無し( 9)\rENDCM");
}

TEST(CommandMenu, TheSearchStopsAtTheFirstEndcmWhateverBlock) {
  const std::string script =
      "CMST,1,＊A＊B\n"  // 1
      "CMSL,1,9\n"       // 2
      "CASE,100\n"       // 3
      "CMSL,1,7\n"       // 4  inner block
      "CASE,100\n"       // 5
      "LET,5,1\n"        // 6
      "ENDCM\n"          // 7
      "CASE,101\n"       // 8  never found from line 2
      "ENDCM\n"          // 9
      "EXIT\n";          // 10
  auto r = runScript(script, "pick 1\n");
  EXPECT_EQ(r.errorText(), "CASE 101無し( 7)\rENDCM");
}

TEST(CommandMenu, TheSearchTakesTheFirstMatchingCaseWhateverBlock) {
  const std::string script =
      "CMST,1,＊A＊B\n"  // 1
      "CMSL,1,9\n"       // 2
      "CASE,100\n"       // 3
      "CMSL,1,8\n"       // 4  inner block
      "CASE,101\n"       // 5  found from line 2 as well
      "LET,5,7\n"        // 6
      "CASE,100\n"       // 7  reached in sequence: to the outer end
      "ENDCM\n"          // 8
      "ENDCM\n"          // 9
      "EXIT\n";          // 10
  auto r = runWithLines(script, "pick 1\n");
  EXPECT_EQ(picks(r), Lines{101});
  EXPECT_EQ(linesAfterPick(r), (Lines{6, 7, 9, 10}));
  EXPECT_EQ(flag(r, 5), 7);
}

TEST(CommandMenu, AnInnerMenuMovesTheOuterBlocksEnd) {
  const std::string script =
      "CMST,1,＊A＊B\n"  // 1
      "CMSL,1,11\n"      // 2  outer block ends on 11
      "CASE,100\n"       // 3
      "CMSL,1,7\n"       // 4  inner block ends on 7
      "CASE,100\n"       // 5
      "LET,5,1\n"        // 6
      "ENDCM\n"          // 7
      "LET,6,1\n"        // 8
      "CASE,101\n"       // 9  reached in sequence: goes to 7, the inner end
      "LET,5,2\n"        // 10
      "ENDCM\n"          // 11
      "EXIT\n";          // 12
  ScenarioOptions o;
  o.input = "pick 0\npick 0\n";
  o.traceLines = true;
  o.maxSteps = 20;
  auto r = runScript(script, o);
  EXPECT_EQ(r.reason(), "limit");
  Lines after = linesAfterPick(r, 1);
  ASSERT_GE(after.size(), 8u);
  EXPECT_EQ(Lines(after.begin(), after.begin() + 8), (Lines{6, 7, 8, 9, 7, 8, 9, 7}));
}

TEST(CommandMenu, ASearchWithoutEndcmRunsOffTheScript) {
  auto r = runScript("CMST,1,＊A\nCMSL,1,5\nEXIT\n", "pick 0\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.errorText(), "範囲外( 1201)\r");
}

// ---- CMST ----

TEST(CommandMenu, CmstFillsTheMenusItsTextReaches) {
  const std::string script =
      "ADDCM,4,5,＊Old4\n"
      "ADDCM,5,3,＊Old5\n"
      "ADDCM,6,0,＊Keep6\n"
      "ADDCM,3,0,＊Keep3\n"
      "CMST,2,＊Two\n"
      "CMST,4,＊A＊B・２C\n"
      "CMST,7,４M4５M5６M6３M3\n"
      "CMSL,7,11\n"
      "CASE,300\n"
      "LET,5,3\n"
      "ENDCM\n"
      "EXIT\n";
  auto r = runScript(script,
                     "pick 0\nheading\npick 1\npick 0\nheading\npick 2\nheading\npick 3\npick 0\n");
  EXPECT_EQ(menuWaits(r), (Menus{
                              "1 コマンド [M4|M5|M6|M3||||] 11110000",
                              "1 M4＞ [A|B||||||] 11000000",
                              "1 コマンド [M4|M5|M6|M3||||] 11110000",
                              "1 M5＞ [C|||||||] 10000000",
                              "1 C＞ [Two|||||||] 10000000",  // ２C opens menu 2
                              "1 コマンド [M4|M5|M6|M3||||] 11110000",
                              "1 M6＞ [Keep6|||||||] 10000000",
                              "1 コマンド [M4|M5|M6|M3||||] 11110000",
                              "1 M3＞ [Keep3|||||||] 10000000",
                          }));
  EXPECT_EQ(picks(r), Lines{300});
  EXPECT_EQ(flag(r, 5), 3);
}

TEST(CommandMenu, CmstStartingWithTheSeparatorClearsTwoMenusAndFillsTheSecond) {
  const std::string script =
      "ADDCM,4,0,＊Old4\nADDCM,5,0,＊Old5\nADDCM,5,1,＊Old5b\n"
      "CMST,4,・＊X\nCMST,6,４Four５Five\nCMSL,6,9\nCASE,500\nLET,5,1\nENDCM\nEXIT\n";
  auto r = runScript(script, "pick 0\nheading\npick 1\npick 0\n");
  EXPECT_EQ(menuWaits(r),
            (Menus{"1 コマンド [Four|Five||||||] 11000000", "1 Four＞ [|||||||] 00000000",
                   "1 コマンド [Four|Five||||||] 11000000", "1 Five＞ [X|||||||] 10000000"}));
  EXPECT_EQ(picks(r), Lines{500});
}

TEST(CommandMenu, CmstAtTheLimitsOfTheTable) {
  // Eight entries and menu 9 are allowed.
  auto r = runScript(
      "CMST,8,＊1＊2＊3＊4＊5＊6＊7＊8・＊N\nCMSL,8,4\nCASE,807\nENDCM\n"
      "CMSL,9,7\nCASE,900\nENDCM\nEXIT\n",
      "pick 7\npick 0\n");
  ASSERT_EQ(r.reason(), "exit");
  EXPECT_EQ(menuWaits(r),
            (Menus{"1 コマンド [1|2|3|4|5|6|7|8] 11111111", "1 コマンド [N|||||||] 10000000"}));
  EXPECT_EQ(picks(r), (Lines{807, 900}));
  // An empty text empties the menu.
  r = runScript("ADDCM,1,0,＊Z\nCMST,1,\nCMST,2,１One＊End\nCMSL,2,6\nCASE,201\nENDCM\nEXIT\n",
                "pick 0\nheading\npick 1\n");
  EXPECT_EQ(menuWaits(r),
            (Menus{"1 コマンド [One|End||||||] 11000000", "1 One＞ [|||||||] 00000000",
                   "1 コマンド [One|End||||||] 11000000"}));
  EXPECT_EQ(picks(r), Lines{201});
}

TEST(CommandMenu, OutOfRangeMenuTextsAndNumbers) {
  const char* lines[] = {
      "CMST,10,＊A",
      "CMST,-1,＊A",
      "CMST,1,A＊B",                         // text before the first marker
      "CMST,1,＊A・B",                       // and after a separator
      "CMST,1,＊1＊2＊3＊4＊5＊6＊7＊8＊9",  // a ninth entry
      "CMST,9,＊A・＊B",                     // a menu past 9
      "CMST,8,・・＊B",
      "CMSL,10,3",
      "CMSL,-1,3",
  };
  for (const char* line : lines) {
    auto r = runScript(std::string("LET,1,1\n") + line + "\nEXIT\n", "pick 0\n");
    EXPECT_EQ(r.status, 1) << line;
    EXPECT_EQ(r.errorText(), std::string("範囲外( 2)\r") + line);
    EXPECT_TRUE(picks(r).empty()) << line;
  }
}

TEST(CommandMenu, CmstTextLongerThanASixteenBitCountOverflows) {
  std::string text = "＊" + std::string(32766, 'a');
  auto r = runScript("CMST,1," + text + "\nCMSL,1,4\nCASE,100\nENDCM\nEXIT\n", "pick 0\n");
  EXPECT_EQ(r.reason(), "exit");  // 32767 characters are counted
  r = runScript("CMST,1," + text + "a\nEXIT\n");
  EXPECT_EQ(r.errorText(), "桁あふれ( 1)\rCMST,1," + text + "a");
}

TEST(CommandMenu, CmslReadsItsEndLineBeforeItsMenu) {
  auto r = runScript("CMSL,abc\nEXIT\n");
  EXPECT_EQ(r.errorText(), "引数無し( 1)\rCMSL,abc");
  r = runScript("CMSL,abc,3\nEXIT\n");
  EXPECT_EQ(r.errorText(), "数値不正( 1)\rCMSL,abc,3");
}

}  // namespace
