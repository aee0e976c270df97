// The demo game played to each of its endings, as a player would with the mouse alone.
// Together the play-throughs run every line of the script that can run, so a change
// that breaks the demo fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "engine/fields.h"
#include "engine/number.h"
#include "engine/script_store.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ScenarioResult;

const fs::path kDemo = fs::path(TORAMI_SOURCE_DIR) / "demo";

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

ScenarioResult play(const std::string& ending, bool traceLines = true) {
  testing_support::ScenarioOptions o;
  o.input = readFile(fs::path(TORAMI_SOURCE_DIR) / "tests" / "demo" / (ending + ".txt"));
  o.traceLines = traceLines;
  return testing_support::runFolder(kDemo, o);
}

std::set<int> linesRun(const ScenarioResult& r) {
  std::set<int> lines;
  for (const auto& e : r.all("line")) lines.insert(static_cast<int>(e["line"].integer()));
  return lines;
}

void expectCleanEnding(const ScenarioResult& r, const std::string& reason,
                       const std::string& picture) {
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.reason(), reason);
  EXPECT_TRUE(r.all("error").empty()) << r.errorText();
  EXPECT_EQ(r.last("wait")["picture"].str(), picture);
  for (const auto& p : r.all("picture")) EXPECT_TRUE(p["ok"].boolean()) << p["name"].str();
  for (const auto& s : r.all("sound")) EXPECT_TRUE(s["ok"].boolean()) << s["name"].str();
  for (const auto& m : r.all("music"))
    if (m["mode"].integer() == 1) {
      EXPECT_TRUE(m["ok"].boolean()) << m["name"].str();
    }
}

TEST(Demo, SunriseEndingWithTheChanceTakenAndEveryBranchVisited) {
  auto r = play("sunrise");
  expectCleanEnding(r, "exit", "sunrise");
  const auto& flags = r.last("end")["flags"];
  EXPECT_EQ(flags[10].integer(), 99);  // the chance label was double-clicked in time
  EXPECT_EQ(flags[18].integer(), 1);   // and the lantern won
  EXPECT_EQ(flags[6].integer(), 1);
  EXPECT_FALSE(r.all("item").empty());
  EXPECT_FALSE(r.all("fade").empty());
}

TEST(Demo, LampRoomEndingWithTheChanceMissed) {
  auto r = play("lamp");
  expectCleanEnding(r, "exit", "lamproom");
  EXPECT_EQ(r.last("end")["flags"][6].integer(), 2);
  EXPECT_EQ(r.last("end")["flags"][18].integer(), 0);
}

TEST(Demo, BeachEndingWhenGivingUp) {
  auto r = play("beach");
  expectCleanEnding(r, "eof", "beach");
  EXPECT_EQ(r.last("end")["flags"][6].integer(), 3);
}

/* Played with keys alone, or with the wheel and the left button alone, each ending is
   reached through the very same waits as with the mouse: the traces agree event for
   event once the key events are left out. */
TEST(Demo, KeysAloneAndTheWheelAloneGiveTheMousePlayThroughs) {
  for (const char* ending : {"sunrise", "lamp", "beach"}) {
    const auto mouse = play(ending, false);
    for (const char* variant : {"-keys", "-wheel"}) {
      SCOPED_TRACE(std::string(ending) + variant);
      auto other = play(std::string(ending) + variant, false);
      std::erase_if(other.events, [](const auto& e) { return e["ev"].str() == "key"; });
      ASSERT_EQ(other.events.size(), mouse.events.size());
      for (size_t i = 0; i < mouse.events.size(); ++i)
        EXPECT_TRUE(other.events[i] == mouse.events[i]) << "event " << i;
      EXPECT_EQ(other.status, 0);
    }
  }
}

/* Lines that never run by design: CASE lines found by the search after a pick (the
   search goes on after them), and the table lines of FP and FJ, which are data. */
std::set<int> linesThatCannotRun(const engine::ScriptStore& script) {
  std::set<int> out;
  engine::Flags none{};
  for (int k = 1; k <= script.lineCount(); ++k) {
    engine::Text keyword = engine::CUTA(script.line(k), 1);
    if (keyword == U"CASE") out.insert(k);
    if (keyword == U"FP" || keyword == U"FJ") {
      int end = engine::CUTV(script.line(k), 3, none);
      for (int t = k + 1; t < end || (keyword == U"FJ" && t == end); ++t) out.insert(t);
    }
  }
  return out;
}

TEST(Demo, ThePlayThroughsTogetherRunEveryLineThatCanRun) {
  engine::ScriptStore script;
  int last = 0;
  ASSERT_TRUE(script.loadBytes(readFile(kDemo / "TORAMI.acs"), last));
  std::set<int> ran;
  for (const char* ending : {"sunrise", "lamp", "beach"}) {
    auto lines = linesRun(play(ending));
    ran.insert(lines.begin(), lines.end());
  }
  auto skip = linesThatCannotRun(script);
  for (int k = 1; k <= script.lineCount(); ++k)
    if (!skip.count(k)) {
      EXPECT_TRUE(ran.count(k)) << "line " << k << " never ran";
    }
}

// With reading aloud and copying on, the voice says each page (and a menu with the page
// above it), the clipboard gets each page and the readers' place each page and menu: the
// very text --text-out writes.
TEST(Demo, TheVoiceAndTheClipboardGetTheTextOutsPages) {
  struct Voice : platform::Speech {
    std::vector<std::string> said;
    void say(const std::string& text) override { said.push_back(text); }
  } voice;
  std::vector<std::string> copied, published;
  std::vector<std::vector<platform::LabelText>> menus;
  testing_support::ScenarioOptions o;
  o.input = readFile(fs::path(TORAMI_SOURCE_DIR) / "tests" / "demo" / "lamp.txt");
  o.textOut = true;
  o.dataDir = testing_support::scenarioFolder("DemoReadAloud") / "data";
  o.settings = ui::Settings{};
  o.settings->readAloud = o.settings->copyText = true;
  o.text.speech = [&]() -> platform::Speech* { return &voice; };
  o.text.copy = [&](const std::string& t) { copied.push_back(t); };
  o.text.publishPage = [&](const std::string& t) { published.push_back(t); };
  o.text.publishMenu = [&](const std::string& h, const std::vector<platform::LabelText>& l) {
    published.push_back(ui::spokenMenu(h, l));
    menus.push_back(l);
  };
  const ScenarioResult r = testing_support::runFolder(kDemo, o);
  std::vector<std::string> pages, said, shown;  // what each reader should have got
  std::string page;
  size_t menu = 0;
  for (const auto& line : r.text) {
    if (line["ev"].str() == "page") {
      page = line["text"].str();
      pages.push_back(page);
      said.push_back(page);
      shown.push_back(page);
      continue;
    }
    ASSERT_LT(menu, menus.size());
    std::vector<std::string> captions;
    for (size_t k = 0; k < menus[menu].size(); ++k) {
      captions.push_back(menus[menu][k].caption);
      if (k > 0) {
        EXPECT_LT(menus[menu][k - 1].number, menus[menu][k].number);
      }
    }
    std::vector<std::string> labels;
    for (const auto& l : line["labels"].array()) labels.push_back(l.str());
    EXPECT_EQ(captions, labels);
    shown.push_back(ui::spokenMenu(line["heading"].str(), menus[menu++]));
    said.push_back(page + "\n" + shown.back());
  }
  EXPECT_GT(pages.size(), 10u);
  EXPECT_EQ(copied, pages);
  EXPECT_EQ(published, shown);
  EXPECT_EQ(voice.said, said);
}

// What --text-out writes is what the trace shows: each click wait's page, and at each menu
// wait its heading and labels (the page under it written once).
TEST(Demo, TheTextOutHoldsEachPageAndMenuTheTraceShows) {
  for (const char* ending : {"sunrise", "lamp", "beach"}) {
    SCOPED_TRACE(ending);
    testing_support::ScenarioOptions o;
    o.input =
        readFile(fs::path(TORAMI_SOURCE_DIR) / "tests" / "demo" / (std::string(ending) + ".txt"));
    o.textOut = true;
    const ScenarioResult r = testing_support::runFolder(kDemo, o);
    size_t at = 0;
    auto next = [&](const std::string& ev) -> const testing_support::JsonValue* {
      while (at < r.text.size() && r.text[at]["ev"].str() != ev) ++at;
      return at < r.text.size() ? &r.text[at++] : nullptr;
    };
    int pages = 0, menus = 0;
    for (const auto& wait : r.all("wait")) {
      const std::string kind = wait["kind"].str();
      if (kind == "click") {
        std::string rows;
        for (const auto& row : wait["mes"].array()) {
          std::string line;
          for (const auto& run : row.array()) line += run[1].str();
          rows += (rows.empty() ? "" : "\n") + line;
        }
        while (rows.ends_with("\n")) rows.pop_back();
        const auto* page = next("page");
        ASSERT_NE(page, nullptr);
        EXPECT_EQ((*page)["text"].str(), rows);
        EXPECT_EQ((*page)["t"].integer(), wait["t"].integer());
        ++pages;
      } else if (kind == "menu") {
        const auto* menu = next("menu");
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ((*menu)["heading"].str(), wait["menu"]["heading"].str());
        std::vector<std::string> labels, shown;
        for (const auto& l : wait["menu"]["labels"].array())
          if (!l.str().empty()) labels.push_back(l.str());
        for (const auto& l : (*menu)["labels"].array()) shown.push_back(l.str());
        EXPECT_EQ(shown, labels);
        ++menus;
      }
    }
    EXPECT_GT(pages, 10);
    EXPECT_GT(menus, 5);
  }
}

}  // namespace
