// The player's comforts run headless over the demo: slots kept across runs, back to the last
// choice, auto, skip read text, the gamepad, the player's menu by keys, and a run that only
// uses comforts ending exactly as one without them.
#include <gtest/gtest.h>

#include <fstream>

#include "picture_fixtures.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;
using testing_support::JsonValue;
using testing_support::ScenarioOptions;
using testing_support::ScenarioResult;
using testing_support::timeless;

const fs::path kDemo = fs::path(TORAMI_SOURCE_DIR) / "demo";

// The demo in a folder of its own (its shots and data stay apart from other tests).
struct DemoRun {
  explicit DemoRun(const std::string& name) : folder(testing_support::scenarioFolder(name)) {
    for (const auto& f : fs::directory_iterator(kDemo))
      fs::copy(f.path(), folder / f.path().filename());
  }
  ScenarioResult run(const std::string& input, bool shots = false, bool keep = false) const {
    ScenarioOptions o;
    o.input = input;
    o.shots = shots;
    if (keep) o.dataDir = folder / "data";
    return testing_support::runFolder(folder, o);
  }
  fs::path folder;
};

// Indexes of the events of a kind.
std::vector<size_t> indexes(const ScenarioResult& r, const std::string& ev) {
  std::vector<size_t> out;
  for (size_t i = 0; i < r.events.size(); ++i)
    if (r.events[i]["ev"].str() == ev) out.push_back(i);
  return out;
}

// Indexes of the waits of a kind ("click", "menu").
std::vector<size_t> waitsOfKind(const ScenarioResult& r, const std::string& kind) {
  std::vector<size_t> out;
  for (size_t i : indexes(r, "wait"))
    if (r.events[i]["kind"].str() == kind) out.push_back(i);
  return out;
}

// The first event of a kind after index i.
size_t next(const ScenarioResult& r, const std::string& ev, size_t i) {
  for (size_t k = i + 1; k < r.events.size(); ++k)
    if (r.events[k]["ev"].str() == ev) return k;
  ADD_FAILURE() << "no " << ev << " after event " << i;
  return r.events.size() - 1;
}

// The events a person would see change the game: without keys, buttons, the menu and
// screenshots.
std::vector<JsonValue> gameEvents(const ScenarioResult& r) {
  std::vector<JsonValue> out;
  for (const JsonValue& e : r.events) {
    const std::string ev = e["ev"].str();
    if (ev != "key" && ev != "button" && ev != "player-menu" && ev != "screenshot")
      out.push_back(timeless(e));
  }
  return out;
}

constexpr const char* kBeachStart = "pick 0\nclick\nclick\nclick\nclick\nclick\n";  // to menu 2

/* A slot saved in one run loads in the next, at the wait where it was saved; slots
   that hold nothing say so. */
TEST(Comforts, SlotsOutliveTheRunAndLoadWhereTheyWereSaved) {
  DemoRun demo("Comforts.slots");
  const auto first = demo.run("pick 0\nclick\nclick\nsave 12\nclose\n", false, true);
  const size_t saved = indexes(first, "save").at(0);
  EXPECT_EQ(first.events[saved]["slot"].str(), "12");
  EXPECT_TRUE(first.events[saved]["ok"].boolean());
  EXPECT_TRUE(fs::exists(demo.folder / "data"));

  const auto second = demo.run("load 3\nload 12\nclose\n", false, true);
  const auto loads = indexes(second, "load");
  ASSERT_EQ(loads.size(), 2u);
  EXPECT_FALSE(second.events[loads[0]]["ok"].boolean()) << "slot 3 holds nothing";
  EXPECT_EQ(second.events[loads[1]]["slot"].str(), "12");
  const size_t wait = next(second, "wait", loads[1]);
  EXPECT_TRUE(timeless(second.events[wait]) == timeless(first.events[saved - 1]));
}

/* Back to the last choice returns to the menu wait of the last pick, on the trace and in the
   shot; again, to the one before; with none before, it says so. */
TEST(Comforts, RewindReturnsToTheMenuOfTheLastPickAndAgainToTheOneBefore) {
  DemoRun demo("Comforts.rewind");
  const auto plain = demo.run(std::string(kBeachStart) + "close\n", true);
  const auto plainShots = picture_fixtures::readShots(demo.folder);
  const auto waits = indexes(plain, "wait");
  std::vector<size_t> menus;  // the title and the station menu
  for (size_t i = 0; i < waits.size(); ++i)
    if (plain.events[waits[i]]["kind"].str() == "menu") menus.push_back(i);
  ASSERT_EQ(menus.size(), 2u);
  const size_t title = waits[menus[0]], station = waits[menus[1]];
  ASSERT_EQ(plain.events[title]["kind"].str(), "menu");
  ASSERT_EQ(plain.events[station]["kind"].str(), "menu");

  const auto r =
      demo.run(std::string(kBeachStart) + "pick 3\nclick\nrewind\nrewind\nrewind\n", true);
  const auto shots = picture_fixtures::readShots(demo.folder);
  const auto rewinds = indexes(r, "rewind");
  ASSERT_EQ(rewinds.size(), 3u);
  const JsonValue* expected[] = {&plain.events[station], &plain.events[title]};
  const size_t expectedShot[] = {menus[1], menus[0]};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(r.events[rewinds[i]]["ok"].boolean());
    const size_t wait = next(r, "wait", rewinds[i]);
    EXPECT_TRUE(timeless(r.events[wait]) == timeless(*expected[i]));
    size_t shot = 0;
    for (size_t k = 0; k < wait; ++k) shot += r.events[k]["ev"].str() == "wait";
    EXPECT_EQ(shots.at(shot), plainShots.at(expectedShot[i]));
  }
  EXPECT_FALSE(r.events[rewinds[2]]["ok"].boolean()) << "nothing before the first menu";

  // Asked for while the text after the pick types, it still returns to that pick's menu.
  const long picked = plain.events[station]["t"].integer();
  const auto typing = demo.run(std::string(kBeachStart) + "pick 3\nat " +
                               std::to_string(picked + 20) + " rewind\nclose\n");
  const size_t back = indexes(typing, "rewind").at(0);
  EXPECT_TRUE(timeless(typing.events[next(typing, "wait", back)]) == timeless(*expected[0]));
}

/* Auto turns each complete page after its delay on the clock, without input, and stops at
   the next menu, which shows as it does when the pages are clicked. */
TEST(Comforts, AutoTurnsThePagesToTheNextMenu) {
  DemoRun demo("Comforts.auto");
  const auto clicked = demo.run(std::string(kBeachStart) + "close\n");
  const auto r = demo.run("pick 0\nkey A\nclose\n");
  const auto autos = indexes(r, "auto");
  ASSERT_EQ(autos.size(), 2u);
  EXPECT_TRUE(r.events[autos[0]]["on"].boolean());
  EXPECT_FALSE(r.events[autos[1]]["on"].boolean());
  const std::vector<size_t> pages = waitsOfKind(r, "click");
  ASSERT_EQ(pages.size(), 5u);
  for (size_t k = 1; k < pages.size(); ++k)
    EXPECT_GE(r.events[pages[k]]["t"].integer() - r.events[pages[k - 1]]["t"].integer(), 1000);
  const size_t menu = next(r, "wait", autos[1]);
  EXPECT_EQ(r.events[menu]["kind"].str(), "menu");
  const auto waits = indexes(clicked, "wait");
  ASSERT_GE(waits.size(), 2u);
  EXPECT_TRUE(timeless(r.events[menu]) == timeless(clicked.events[waits[waits.size() - 2]]))
      << "the wait before the closing one is the menu";
}

/* Skip read text turns the pages an earlier play read and stops at the first page never
   read; pages read are kept in the data folder. */
TEST(Comforts, SkipReadTextStopsAtTheFirstUnreadPage) {
  DemoRun demo("Comforts.skip");
  demo.run("pick 0\nclick\nclick\n", false, true);  // reads the first three pages
  const auto r = demo.run("pick 0\nkey S\nclose\n", false, true);
  const auto skips = indexes(r, "skip");
  ASSERT_EQ(skips.size(), 2u);
  EXPECT_TRUE(r.events[skips[0]]["read"].boolean());
  EXPECT_FALSE(r.events[skips[1]]["on"].boolean());
  const std::vector<size_t> pages = waitsOfKind(r, "click");
  ASSERT_EQ(pages.size(), 4u) << "three read pages turned, the fourth waits";
  EXPECT_LT(skips[1], pages[3]);
  EXPECT_EQ(r.reason(), "close");
}

/* Every gamepad button does what its key does. */
TEST(Comforts, EachGamepadButtonIsItsKey) {
  struct Pair {
    const char *button, *key;
  };
  const Pair pairs[] = {{"button A\n", "key Return\n"},
                        {"button Down\nbutton A\n", "key Down\nkey Return\n"},
                        {"button B\n", "key Escape\n"},
                        {"button LB\nbutton RB\n", "key PageUp\nkey PageDown\n"},
                        {"button Start\nbutton B\n", "key F1\nkey Escape\n"},
                        {"button Back\n", "key F5\n"},
                        {"button X\n", "key S\n"}};
  DemoRun demo("Comforts.gamepad");
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.button);
    const std::string before = "pick 0\nclick\nclick\n", after = "click\nclick\nclick\n";
    const auto byButton = demo.run(before + p.button + after);
    const auto byKey = demo.run(before + p.key + after);
    EXPECT_TRUE(gameEvents(byButton) == gameEvents(byKey));
    EXPECT_FALSE(indexes(byButton, "button").empty());
  }
  const auto atMenu = demo.run("button Right\nbutton Right\nbutton A\nclose\n");
  EXPECT_EQ(atMenu.events[indexes(atMenu, "pick").at(0)]["code"].integer(),
            demo.run("pick 1\nclose\n").first("pick")["code"].integer())
      << "the D-pad shows and moves the mark, A picks it";
}

/* Comforts that leave the game alone leave the trace and the flags as they are. */
TEST(Comforts, ARunWithOnlyComfortsEndsAsOneWithout) {
  std::ifstream in(fs::path(TORAMI_SOURCE_DIR) / "tests" / "demo" / "beach.txt");
  std::string plain, comforts;
  int n = 0;
  static const char* const kExtras[] = {"key F1\nkey Escape\n",
                                        "twofinger\ntwofinger\n",
                                        "key -\nkey =\n",
                                        "key M\nkey M\n",
                                        "key F12\n",
                                        "button Start\nbutton Start\n"};
  for (std::string line; std::getline(in, line);) {
    plain += line + "\n";
    if (!line.empty() && line[0] != '#') comforts += kExtras[n++ % std::size(kExtras)];
    comforts += line + "\n";
  }
  DemoRun demo("Comforts.only");
  const auto a = demo.run(plain), b = demo.run(comforts);
  EXPECT_EQ(a.reason(), "eof");
  EXPECT_TRUE(gameEvents(a) == gameEvents(b));
}

}  // namespace
