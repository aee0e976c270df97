// The scripting reference cannot drift from the player: every block of docs/scripting.md
// marked as a script (or as a story file) passes the checker without errors and plays
// headless, with the input block that follows it, without a script error.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "author/checker.h"
#include "engine/command_table.h"
#include "formats/story.h"
#include "platform/text_codec.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

struct Example {
  std::string script, input;
  int line = 0;        // where it starts in the document
  bool story = false;  // a story file
};

std::string readDoc() {
  std::ifstream in(fs::path(TORAMI_SOURCE_DIR) / "docs" / "scripting.md");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<Example> examples(const std::string& doc) {
  std::vector<Example> out;
  std::istringstream lines(doc);
  std::string line, block;
  std::string* into = nullptr;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!into && (line == "```acs" || line == "```story")) {
      out.push_back({});
      out.back().line = number;
      out.back().story = line == "```story";
      into = &out.back().script;
    } else if (!into && line == "```input" && !out.empty()) {
      into = &out.back().input;
    } else if (into && line == "```") {
      into = nullptr;
    } else if (into) {
      *into += line + "\n";
    }
  }
  return out;
}

TEST(ScriptingReference, EveryScriptExampleChecksCleanAndPlaysWithoutAnError) {
  const auto all = examples(readDoc());
  ASSERT_GE(all.size(), 10u);
  for (const Example& e : all) {
    const fs::path folder = testing_support::scenarioFolder("doc-" + std::to_string(e.line));
    // A story is played as it stands: the folder holds it and no script.
    const fs::path file = folder / (e.story ? "TORAMI.story" : "TORAMI.acs");
    if (e.story) {
      std::ofstream(file, std::ios::binary) << e.script;
      EXPECT_TRUE(formats::buildStory(e.script).ok()) << "story at line " << e.line;
    } else {
      testing_support::writeScript(folder, e.script);
    }
    author::CheckOptions co;
    co.media = false;  // the examples name pictures and sounds they do not ship
    const auto check = author::checkScriptFile(file, platform::GameFolder(folder), co);
    EXPECT_EQ(check.errors(), 0) << "example at line " << e.line << ": "
                                 << (check.diagnostics.empty() ? "" : check.diagnostics[0].text);
    testing_support::ScenarioOptions o;
    o.input = e.input;
    const auto run = testing_support::runFolder(folder, o);
    EXPECT_NE(run.reason(), "error") << "example at line " << e.line << ": " << run.errorText();
    EXPECT_NE(run.reason(), "input") << "example at line " << e.line << " waits for more input";
  }
}

TEST(ScriptingReference, DescribesAll38Commands) {
  const std::string doc = readDoc();
  for (const engine::Command& c : engine::commands())
    EXPECT_NE(doc.find("| `" + platform::toUtf8(c.keyword) + "` |"), std::string::npos)
        << platform::toUtf8(c.keyword);
}

}  // namespace
