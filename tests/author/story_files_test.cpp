// Story files: how a story builds (names, escapes, comments, errors at their places), the
// way back from a script, and a story played and checked as it stands.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "author/checker.h"
#include "author/unbuild.h"
#include "formats/story.h"
#include "platform/port.h"
#include "platform/text_codec.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The built script as UTF-8 lines joined by "|", or the errors as "LINE:COLUMN text".
std::string outcome(const std::string& story) {
  const formats::BuiltStory b = formats::buildStory(story);
  std::string out;
  if (!b.ok()) {
    for (const auto& e : b.errors)
      out += (out.empty() ? "" : "; ") + std::to_string(e.line) + ":" + std::to_string(e.column) +
             " " + e.text;
    return out;
  }
  const std::u32string script = platform::decodeCp932(b.script);
  out = platform::toUtf8(script);
  for (size_t p; (p = out.find("\r\n")) != std::string::npos;) out.replace(p, 2, "|");
  return out;
}

TEST(StoryFiles, BuildCases) {
  struct Case {
    const char* story;
    const char* expected;  // the script, or the start of the first error
  } cases[] = {
      {"*top\nMES,a\nGOTO,{top}\n", "MES,a|GOTO,1|"},
      {"# comment\n\n  \nMES,a\r\n*end\r\nEXIT\rGOTO,{end}", "MES,a|EXIT|GOTO,2|"},
      {"\xEF\xBB\xBFMES,a\n", "MES,a|"},
      {"MES,{{x}} {{\n", "MES,{x}} {|"},
      {"{}# shown\n{}*star\n{}\n{}{{\n", "# shown|*star||{|"},
      {"*a\n*b\nMES,x\nGOTO,{a}{b}\n", "MES,x|GOTO,11|"},
      {"*name   \nMES,x\nGOTO,{name}\n", "MES,x|GOTO,1|"},
      {"MES,日本語\n*j\nFJ,F01,{j}\n", "MES,日本語|FJ,F01,2|"},
      // Errors name the story's line and column.
      {"MES,a\nGOTO,{nowhere}\n", "2:7 no line is named nowhere"},
      {"*a\nMES,x\n*a\nMES,y\n", "3:2 *a is named twice (first on line 1)"},
      {"MES,{oops\n", "1:5 { begins no {name}"},
      {"MES,a{}b\n", "1:6 { begins no {name}"},
      {"*bad name\nMES,x\n", "1:5 a name is letters, digits and _"},
      {"*\nMES,x\n", "1:2 a name is letters"},
      {"MES,x\n*end\n", "2:1 *end names no line after it"},
      {"MES,\xF0\x9F\x98\x80 smile\n", "1:5 code page 932 has no code for the character"},
      {"MES,\xFF\n", "1:5 the line is not UTF-8 text"},
  };
  for (const Case& c : cases) {
    const std::string got = outcome(c.story);
    EXPECT_TRUE(got.starts_with(c.expected)) << c.story << "\n  gave " << got;
  }
  std::string tooLong;
  for (int k = 0; k < 1201; ++k) tooLong += "MES,x\n";
  EXPECT_TRUE(outcome(tooLong).starts_with("1201:1 more than 1200 script lines"))
      << outcome(tooLong);
}

// The places a checked script's diagnostics name are the story's.
TEST(StoryFiles, StoryPlacesFollowNamesAndEscapes) {
  const formats::BuiltStory b = formats::buildStory("# head\n*here\nMES,a\n\nGOTO,{here},x\n");
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(b.storyPlace(2, 0), std::make_pair(5, 0));
  EXPECT_EQ(b.storyPlace(2, 6), std::make_pair(5, 6));   // the number stands for "{here}"
  EXPECT_EQ(b.storyPlace(2, 8), std::make_pair(5, 13));  // "x" after the name
  EXPECT_EQ(b.storyPlace(9, 1), std::make_pair(0, 0));
}

TEST(StoryFiles, TheDemoIsBuiltFromItsStoryAndComesBackFromItsScript) {
  const fs::path demo = fs::path(TORAMI_SOURCE_DIR) / "demo";
  const std::string script = readFile(demo / "TORAMI.acs");
  const formats::BuiltStory built = formats::buildStory(readFile(demo / "TORAMI.story"));
  ASSERT_TRUE(built.ok());
  EXPECT_EQ(built.script, script) << "rebuild it: build/torami --build demo/TORAMI.story";

  const author::Unbuilt story = author::unbuildScript(script, "TORAMI.acs");
  EXPECT_TRUE(story.errors.empty() && story.warnings.empty());
  EXPECT_EQ(formats::buildStory(story.story).script, script);
  EXPECT_NE(story.story.find("*sub_1\nMES,＜＃00メッセージ欄"), std::string::npos);
  EXPECT_NE(story.story.find("GOSUB,{sub_1}"), std::string::npos);
}

TEST(StoryFiles, UnbuildNamesEveryLineField) {
  const std::string script = platform::encodeCp932(
                                 U"FGCL,0,30\r\nCMSL,1,9\r\nIF,F01=1,1\r\nGOSUB,8\r\nFJ,F02,7\r\n"
                                 U"2\r\n3\r\n#{x}\r\n*RET\r\n\r\nGOTO,005\r\nGOTO,F03\r\n")
                                 .value();
  const author::Unbuilt story = author::unbuildScript(script, "x.acs");
  ASSERT_TRUE(story.errors.empty());
  EXPECT_TRUE(story.warnings.empty());
  for (const char* part : {"CMSL,1,{menu_end_1}", "IF,F01=1,{fgcl_1}", "GOSUB,{sub_1}",
                           "FJ,F02,{line_1}", "\n{cmsl_1}\n", "\n{if_1}\n", "*sub_1\n{}#{{x}\n",
                           "*menu_end_1\n{}*RET\n", "\n{}\n", "GOTO,005", "GOTO,F03"})
    EXPECT_NE(story.story.find(part), std::string::npos) << part << " in\n" << story.story;
  EXPECT_EQ(formats::buildStory(story.story).script, script);
}

TEST(StoryFiles, UnbuildRoundTripsTheFuzzSeedsAndRefusesWhatAStoryCannotHold) {
  int tried = 0;
  for (const auto& entry :
       fs::directory_iterator(fs::path(TORAMI_SOURCE_DIR) / "tests/fuzz/corpus/script")) {
    const std::string script = readFile(entry.path());
    const author::Unbuilt story = author::unbuildScript(script, "seed");
    if (!story.errors.empty() || !story.warnings.empty()) continue;
    ++tried;
    EXPECT_EQ(formats::buildStory(story.story).script, script) << entry.path();
  }
  EXPECT_GE(tried, 2);
  const struct {
    const char* script;
    const char* says;
  } refused[] = {
      {"MES,a\nb\r\n", "1:6: error: a line end without CR"},
      {"MES,\x81\r\n", "1:5: error: bytes that code page 932 cannot decode"},
  };
  for (const auto& r : refused) {
    const author::Unbuilt story = author::unbuildScript(r.script, "x");
    ASSERT_FALSE(story.errors.empty()) << r.script;
    EXPECT_TRUE(story.errors[0].starts_with(r.says)) << story.errors[0];
  }
  EXPECT_FALSE(author::unbuildScript("MES,a\r\nEXIT", "x").warnings.empty());
}

TEST(StoryFiles, AStoryPlaysAndChecksAsItStands) {
  const fs::path folder = testing_support::scenarioFolder("story-plays");
  const fs::path story = folder / "TORAMI.story";
  auto write = [&](const char* text) { std::ofstream(story, std::ios::binary) << text; };
  write("# a story\n*again\nMES,一￥\n\nINC,1,5\nIF,F01=2,{again}\nEXIT\n");
  testing_support::ScenarioOptions o;
  o.input = "click\nclick\n";
  const auto played = testing_support::runFolder(folder, o);
  EXPECT_EQ(played.reason(), "exit");
  EXPECT_EQ(played.all("wait").size(), 3u);

  write("# a story\nMES,一\n\nGOTO,{nowhere}\nGOTO,1500\n");
  const auto broken = author::checkScriptFile(story, platform::GameFolder(folder));
  ASSERT_EQ(broken.errors(), 1);
  EXPECT_EQ(std::pair(broken.diagnostics[0].line, broken.diagnostics[0].column), std::pair(4, 7));

  write("# a story\nMES,一\n\nGOTO,1500\n");
  const auto checked = author::checkScriptFile(story, platform::GameFolder(folder));
  ASSERT_GE(checked.errors(), 1);
  std::ostringstream printed;
  author::printDiagnostics(printed, checked, "TORAMI.story");
  EXPECT_NE(printed.str().find("TORAMI.story:4:6: error"), std::string::npos) << printed.str();
  EXPECT_NE(printed.str().find(" 4 | GOTO,1500"), std::string::npos) << printed.str();
}

}  // namespace
