// Reloading a changed script headless (`reload FILE`): the game's input replayed onto the
// new script lands on the same wait, or on the last one it still reaches; a script with
// errors is refused and the old one plays on.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_names.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

// A click, a menu of two, a page after each pick, a last page.
const std::string kBase =
    "MES,一￥\nCMST,1,＊北＊南\nCMSL,1,8\nCASE,100\nMES,北だ￥\nCASE,101\nMES,南だ￥\nENDCM\n"
    "MES,終わり￥\nEXIT\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

// The text of the message area's first row at a wait.
std::string firstRow(const testing_support::JsonValue& wait) {
  std::string text;
  for (const auto& run : wait["mes"][0].array()) text += run[1].str();
  return text;
}

TEST(Reload, LandsOnTheSameWaitOrTheLastOneItsInputStillReaches) {
  struct Case {
    const char* name;
    std::string script;  // the new script
    const char* before;  // input before the reload
    bool ok;
    long kept, errors;
    const char* kind;  // the wait after the reload
    const char* row;   // its first row
  } cases[] = {
      {"same script", kBase, "click\npick 0\n", true, 2, 0, "click", "北だ"},
      {"text of the wait changed", replaced(kBase, "北だ", "北です"), "click\npick 0\n", true, 2, 0,
       "click", "北です"},
      {"text before it changed", replaced(kBase, "MES,一", "MES,いち"), "click\npick 0\n", true, 2,
       0, "click", "北だ"},
      {"a line inserted above", "LBHGA,0,章\n" + replaced(kBase, "CMSL,1,8", "CMSL,1,9"),
       "click\npick 0\n", true, 2, 0, "click", "北だ"},
      {"the entry picked removed", replaced(kBase, "＊北＊南", "＊北"), "click\npick 1\n", true, 1,
       0, "menu", ""},
      {"a menu where a page was", replaced(kBase, "MES,一￥\n", "LBHGA,0,章\n"), "click\npick 0\n",
       true, 0, 0, "menu", ""},
      {"the game ends sooner", "MES,一￥\nEXIT\n", "click\npick 0\n", true, 0, 0, "click", "一"},
      {"an error in the script", replaced(kBase, "CMSL,1,8", "CMSL,1,1500"), "click\npick 0\n",
       false, 0, 1, "click", "北だ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = testing_support::scenarioFolder("reload");
    testing_support::writeScript(folder, kBase);
    fs::create_directories(folder / "new");
    testing_support::writeScript(folder / "new", c.script);
    testing_support::ScenarioOptions o;
    o.input = std::string(c.before) + "reload " +
              platform::utf8OfPath(folder / "new" / "TORAMI.acs") + "\n";
    const auto r = testing_support::runFolder(folder, o);
    const auto& reload = r.first("reload");
    EXPECT_EQ(reload["ok"].boolean(), c.ok);
    EXPECT_EQ(reload["kept"].integer(), c.kept);
    EXPECT_EQ(reload["errors"].integer(), c.errors);
    const auto waits = r.all("wait");
    ASSERT_GE(waits.size(), 2u);
    const auto& after = waits[waits.size() - 2];  // the last is the end of the run
    EXPECT_EQ(after["kind"].str(), c.kind);
    EXPECT_TRUE(firstRow(after).ends_with(c.row)) << firstRow(after);
  }
}

// After a reload the game goes on with the new script, and its saved game is the new one's.
TEST(Reload, TheGameGoesOnWithTheNewScriptAndSavesIt) {
  const fs::path folder = testing_support::scenarioFolder("reload-goes-on");
  testing_support::writeScript(folder, kBase);
  fs::create_directories(folder / "new");
  testing_support::writeScript(
      folder / "new",
      "LBHGA,0,章\n" + replaced(replaced(kBase, "CMSL,1,8", "CMSL,1,9"), "終わり", "おしまい"));
  testing_support::ScenarioOptions o;
  o.input = "click\npick 0\nreload " + platform::utf8OfPath(folder / "new" / "TORAMI.acs") +
            "\nsave 1\nclick\nload 1\nclick\n";
  const auto r = testing_support::runFolder(folder, o);
  EXPECT_TRUE(r.first("load")["ok"].boolean());
  const auto waits = r.all("wait");
  ASSERT_GE(waits.size(), 2u);
  EXPECT_TRUE(firstRow(waits[waits.size() - 2]).ends_with("おしまい"));
  EXPECT_EQ(r.reason(), "input");
}

}  // namespace
