// Keys and the wheel run headless: each key at a click wait and at a menu wait, the focus
// mark's order, skipping, the backlog; every case as the waits, picks and skips it gives.
#include <gtest/gtest.h>

#include <string>

#include "picture_fixtures.h"
#include "support/scenario.h"

namespace {

using testing_support::JsonValue;
using testing_support::runScript;
using testing_support::ScenarioOptions;
using testing_support::ScenarioResult;

/* The run told short: "click" or "menu <heading>" per wait with " f<n>" for the focus
   mark, " b<n>" for the backlog, " hidden" for a hidden menu; "pick <code>",
   "item <entry>", "skip on|off" and "end <reason>". */
std::string story(const ScenarioResult& r) {
  std::string out;
  for (const JsonValue& e : r.events) {
    const std::string& ev = e["ev"].str();
    std::string part;
    if (ev == "wait" && e["kind"].str() != "end") {
      part = e["kind"].str();
      if (!e["menu"].isNull() && e["kind"].str() == "menu")
        part += " " + e["menu"]["heading"].str();
      if (!e["menu"].isNull() && e["menu"]["state"].integer() == 2) part += " hidden";
      if (e.has("focus")) part += " f" + std::to_string(e["focus"].integer());
      if (e.has("backlog")) part += " b" + std::to_string(e["backlog"].integer());
    } else if (ev == "pick") {
      part = "pick " + std::to_string(e["code"].integer());
    } else if (ev == "item") {
      part = "item " + std::to_string(e["entry"].integer());
    } else if (ev == "skip") {
      part = std::string("skip ") + (e["on"].boolean() ? "on" : "off");
    } else if (ev == "end") {
      part = "end " + e["reason"].str();
    }
    if (!part.empty()) out += (out.empty() ? "" : ", ") + part;
  }
  return out;
}

// Entries 一 三 四 on labels 0..2 (二 deleted), labels 3..7 blank; a submenu in menu 3.
constexpr const char* kMenu =
    "CMST,1,＊一＊二＊三＊四\nDELCM,1,1\nCMSL,1,4\nCASE,100\nEXIT\nCASE,102\nEXIT\nCASE,103\n"
    "EXIT\nENDCM\n";
constexpr const char* kSubmenu =
    "CMST,3,＊一４次・＊甲＊乙\nCMSL,3,3\nCASE,300\nEXIT\nCASE,401\nEXIT\nENDCM\n";
constexpr const char* kItems = "CMST,0,＊鍵＊灯\nITMS,1,灯だ。\nCMSL,0,4\nCASE,1\nEXIT\nENDCM\n";
constexpr const char* kPages = "MES,あ￥\nMES,い￥\nEXIT\n";

struct Case {
  const char* script;
  const char* input;
  const char* story;
};

TEST(Keys, EachKeyAtAClickWaitAndAtAMenuWait) {
  const Case cases[] = {
      // A click wait: the keys that click the message area, and the keys that do nothing.
      {kPages, "key Return", "click, click, end input"},
      {kPages, "key Space", "click, click, end input"},
      {kPages, "key Keypad Enter", "click, click, end input"},
      {kPages, "key PageDown", "click, click, end input"},
      {kPages, "wheel down", "click, click, end input"},
      {kPages, "key Escape", "click, click, end input"},  // a right click on the picture
      {kPages,
       "key Up\nkey Tab\nkey 1\nkey 0\nkey Home\nkey PageUp\nwheel up\nkey F11\nkey Alt+Return",
       "click, end input"},
      // A menu wait: digits pick visible, enabled labels; blank ones and 9 do nothing.
      {kMenu, "key 2", "menu コマンド, pick 102, end exit"},
      {kMenu, "key 4\nkey 9\nkey PageDown\nwheel down\nkey 1", "menu コマンド, pick 100, end exit"},
      // The mark: none until a key shows it; Return and Space first show it on the first
      // label, then pick what holds it; each new menu wait starts without it.
      {kMenu, "key Return\nkey Right\nkey Right\nkey Return",
       "menu コマンド, menu コマンド f0, menu コマンド f1, menu コマンド f2, pick 103, end exit"},
      {kMenu, "key Right\nkey Return", "menu コマンド, menu コマンド f0, pick 100, end exit"},
      {kSubmenu, "key Right\nkey Right\nkey Return\nkey Space",
       "menu コマンド, menu コマンド f0, menu コマンド f1, menu 次＞, menu 次＞ f0, end input"},
      {kMenu, "key Left\nkey Left\nkey Left\nkey Down\nkey Space",
       "menu コマンド, menu コマンド f0, menu コマンド f-1, menu コマンド f2, "
       "menu コマンド f-1, menu コマンド, end input"},
      {kMenu, "key Tab\nkey Tab\nkey Shift+Tab\nkey Keypad Enter",
       "menu コマンド, menu コマンド f0, menu コマンド f1, menu コマンド f0, pick 100, end exit"},
      // Escape hides and shows the menu; a hidden label takes no digit.
      {kMenu, "key Escape\nkey 1\nkey Escape\nkey 3",
       "menu コマンド, menu コマンド hidden, menu コマンド, pick 103, end exit"},
      // The heading keys go back to the start menu from a submenu.
      {kSubmenu, "key 2\nkey Home\nkey 2\nkey 0\nkey 2\nkey Backspace\nkey 2\nkey 2",
       "menu コマンド, menu 次＞, menu コマンド, menu 次＞, menu コマンド, menu 次＞, "
       "menu コマンド, menu 次＞, pick 401, end exit"},
      // The item menu shows the picked item as a click does.
      {kItems, "key 2", "menu コマンド, item 1, pick 1, end exit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(story(runScript(c.script, c.input)), c.story);
  }
}

TEST(Keys, SkipAnswersClickWaitsUntilAMenuWaitOrTheKeyIsLetGo) {
  const Case cases[] = {
      {"MES,一￥\nMES,＃10二二二￥\nMES,三￥\nCMST,1,＊x\nCMSL,1,6\nCASE,100\nMES,四￥\nEXIT\n",
       "hold Left Ctrl\nkey 1\nkey Return",
       "click, skip on, click, click, skip off, menu コマンド, pick 100, click, end exit"},
      {"MES,一￥\nFADE,1\nMES,二￥\nMES,三￥\nEXIT\n",
       "hold Right Ctrl\nat 100 release Right Ctrl\nkey Return\nkey Return",
       "click, skip on, skip off, click, click, end exit"},
      // At a menu wait the key does not skip.
      {"CMST,1,＊x\nCMSL,1,3\nCASE,100\nMES,一￥\nEXIT\n", "hold Left Ctrl\nkey 1\nkey Return",
       "menu コマンド, pick 100, click, end exit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(story(runScript(c.script, c.input)), c.story);
  }
  // Skipping leaves out the typing pauses: the second page takes no time.
  auto r = runScript(cases[0].script, cases[0].input);
  EXPECT_EQ(r.first("pick")["t"].integer(), 0);
}

/* Back through the pages read, forward again by key, wheel and click; the pages show as
   they were drawn, and the live page comes back exactly. */
TEST(Keys, TheBacklogShowsThePagesReadAsTheyWereDrawn) {
  ScenarioOptions o;
  o.shots = true;
  o.input =
      "key Return\nkey Return\nkey PageUp\nkey PageUp\nkey PageUp\nkey PageDown\nwheel down\n"
      "wheel up\nclick\nkey Return\n";
  auto r = runScript("MES,＠04赤い字＠00と黒￥\nMES,：0二頁目￥\nMES,三頁目￥\nEXIT\n", o);
  EXPECT_EQ(story(r),
            "click, click, click, click b1, click b2, click b1, click, click b1, click, end exit");
  const auto waits = r.all("wait");
  EXPECT_EQ(waits[4]["mes"][0][0][0].str(), "#800000");
  EXPECT_EQ(waits[4]["mes"][0][0][1].str(), "　　　　　赤い字");
  const auto shots = picture_fixtures::readShots(r.folder);
  ASSERT_EQ(shots.size(), 10u);
  EXPECT_EQ(shots[4], shots[0]) << "page 1 drawn again";
  EXPECT_EQ(shots[3], shots[1]) << "page 2 drawn again";
  EXPECT_EQ(shots[6], shots[2]) << "the live page back";
  EXPECT_EQ(shots[8], shots[2]) << "the live page back after a click";
}

TEST(Keys, TheFocusMarkIsDrawnOnlyAfterAKeyAndGoesAtTheNextMouseAction) {
  ScenarioOptions o;
  o.shots = true;
  o.input = "key Right\nclickat 0 0\nkey Escape\nkey Escape\nkey 1";
  auto r = runScript(kMenu, o);
  EXPECT_EQ(
      story(r),
      "menu コマンド, menu コマンド f0, menu コマンド hidden, menu コマンド, pick 100, end exit");
  const auto shots = picture_fixtures::readShots(r.folder);
  ASSERT_GE(shots.size(), 2u);
  const formats::Point corner{2880 / 15, 4200 / 15};  // Label1(0)'s top-left corner
  EXPECT_EQ(shots[0].at(corner.x, corner.y), formats::rgb(64, 64, 64));
  EXPECT_EQ(shots[1].at(corner.x, corner.y), formats::rgb(255, 255, 255));
  EXPECT_EQ(shots[1].at(corner.x + 1, corner.y + 1), formats::rgb(0, 0, 0));
  EXPECT_EQ(shots[3].at(corner.x, corner.y), formats::rgb(64, 64, 64)) << "gone after a click";
}

}  // namespace

namespace {

/* F12 keeps the frame as it shows, numbered in the data folder's screenshots/, and only
   there: without a data folder nothing is written. It is no action of the game. */
TEST(Keys, F12KeepsTheFrameInTheDataFolder) {
  for (const bool data : {true, false}) {
    SCOPED_TRACE(data ? "with a data folder" : "without one");
    ScenarioOptions o;
    o.shots = true;
    o.input = "key F12\nkey F12\nkey Return\n";
    const auto folder = testing_support::scenarioFolder("Keys.F12");
    if (data) o.dataDir = folder / "data";
    testing_support::writeScript(folder, kPages);
    const ScenarioResult r = testing_support::runFolder(folder, o);
    const auto taken = r.all("screenshot");
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[1]["ok"].boolean(), data);
    EXPECT_EQ(story(r), "click, click, end input") << "F12 answers no wait";
    if (!data) continue;
    const std::filesystem::path second = taken[1]["file"].str();
    EXPECT_EQ(second.filename(), "screenshot-2.png");
    const auto shot = formats::loadPicture(second);
    ASSERT_TRUE(shot);
    EXPECT_EQ(*shot, picture_fixtures::readShots(folder).front()) << "the frame as it shows";
  }
}

}  // namespace
