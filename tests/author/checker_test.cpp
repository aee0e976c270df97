// The script checker: a table of small broken scripts with the diagnostics --check must
// give (line, column, severity and the player's word), and the demo with none.
#include "author/checker.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/text_codec.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;
using author::CheckOptions;
using author::CheckResult;

// Script text in UTF-8 with LF line ends, as the player's file: code page 932, CR LF.
std::string playerBytes(const std::string& utf8Lines) {
  std::string text;
  for (char c : utf8Lines) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return *platform::encodeCp932(platform::fromUtf8(text));
}

std::vector<std::string> summary(const CheckResult& r) {
  std::vector<std::string> out;
  for (const auto& d : r.diagnostics)
    out.push_back(std::to_string(d.line) + ":" + std::to_string(d.column) + ": " +
                  (d.severity == author::Severity::Error ? "error" : "warning") +
                  (d.word.empty() ? "" : ": " + d.word));
  return out;
}

std::vector<std::string> check(const std::string& bytes, bool media = false) {
  CheckOptions o;
  o.media = media;
  const fs::path folder = testing_support::scenarioFolder("checker");
  return summary(author::checkScriptBytes(bytes, platform::GameFolder(folder), o));
}

struct Row {
  const char* name;
  std::string bytes;
  std::vector<std::string> expected;
};

std::string script(const std::string& utf8) { return playerBytes(utf8); }

class CheckerTable : public ::testing::TestWithParam<Row> {};

TEST_P(CheckerTable, GivesExactlyTheseDiagnostics) {
  const Row& row = GetParam();
  EXPECT_EQ(check(row.bytes), row.expected) << row.name;
}

const std::string kUnreachable2 = "2:0: warning";

INSTANTIATE_TEST_SUITE_P(
    Scripts, CheckerTable,
    ::testing::Values(
        Row{"LowerCaseKeyword", script("goto,2\nEOF\n"), {"1:1: error: 命令無し", kUnreachable2}},
        Row{"MissingField", script("GOTO\nEOF\n"), {"1:5: error: 引数無し", kUnreachable2}},
        Row{"NotANumber", script("GOTO,abc\nEOF\n"), {"1:6: error: 数値不正", kUnreachable2}},
        Row{"JumpOutside", script("GOTO,1500\nEOF\n"), {"1:6: error: 範囲外", kUnreachable2}},
        Row{"JumpToEmptyLine", script("GOTO,5\nEOF\n"), {"1:6: error: 命令無し", kUnreachable2}},
        Row{"FlagOutside", script("LET,31,1\nEOF\n"), {"1:5: error: 範囲外", kUnreachable2}},
        Row{"NumberPast16Bits",
            script("LET,1,40000\nEOF\n"),
            {"1:7: error: 数値不正", kUnreachable2}},
        Row{"ConditionWithBlanks",
            script("IF,F01 = 01,3\nEOF\nEOF\n"),
            {"1:7: error: 比較式", "2:0: warning"}},
        Row{"ConditionFlagOutside",
            script("IF,F31=01,3\nEOF\nEOF\n"),
            {"1:4: error: 範囲外", "2:0: warning"}},
        Row{"IfWithoutTarget", script("IF,F01=01\nEOF\n"), {"1:10: error: 引数無し"}},
        Row{"MarkupColourOutside", script("MES,＠16あ\nEOF\n"), {"1:6: error: 範囲外"}},
        Row{"MarkupSpeedNotANumber", script("MES,＃xyあ\nEOF\n"), {"1:6: error: 数値不正"}},
        Row{"MarkupSlotNotHex", script("MES,：Gあ\nEOF\n"), {"1:6: error: 数値不正"}},
        Row{"MarkupCutShort", script("MES,あ＠1\nEOF\n"), {"1:6: warning"}},
        Row{"MenuTextBeforeMarker",
            script("CMST,1,A＊B\nEOF\n"),
            {"1:8: error: 範囲外", kUnreachable2}},
        Row{"NinthEntry",
            script("CMST,1,＊1＊2＊3＊4＊5＊6＊7＊8＊9\nEOF\n"),
            {"1:24: error: 範囲外", kUnreachable2}},
        Row{"MenuPastNine",
            script("CMST,9,＊a・＊b\nEOF\n"),
            {"1:10: error: 範囲外", kUnreachable2}},
        Row{"MenuNumberOutside",
            script("CMSL,10,2\nENDCM\nEOF\n"),
            {"1:6: error: 範囲外", "2:0: warning"}},
        Row{"EntryOutside", script("DELCM,1,8\nEOF\n"), {"1:9: error: 範囲外", kUnreachable2}},
        Row{"LabelIndex", script("LBHGA,1,x\nEOF\n"), {"1:7: error: 範囲外", kUnreachable2}},
        Row{"ItemSlot", script("ITMS,8,x\nEOF\n"), {"1:6: error: 範囲外", kUnreachable2}},
        Row{"ClearsNothing", script("FGCL,40,5\nEOF\n"), {"1:0: warning"}},
        Row{"FpEndLineAbove", script("FP,1,1\nEOF\n"), {"1:6: error: FP", kUnreachable2}},
        Row{"FjTableHoldsText", script("LET,1,1\nFJ,1,4\n5\nabc\nEOF\n"), {"4:1: error: 数値不正"}},
        Row{"FjTargetOutside",
            script("LET,1,1\nFJ,1,3\n2000\nEOF\n"),
            {"3:1: error: 範囲外", "4:0: warning"}},
        Row{"RunsIntoAnEmptyLine",
            script("MES,a\n\nEOF\n"),
            {"1:0: error: 命令無し", "3:0: warning"}},
        Row{"RunsOffTheEnd", script("MES,a\n"), {"1:0: error: 命令無し"}},
        Row{"RetBeforeGosub", script("RET\nEOF\n"), {"1:0: warning", kUnreachable2}},
        Row{"PickWithoutCase",
            script("CMST,1,＊a＊b\nCMSL,1,5\nCASE,100\nGOTO,5\nENDCM\nEOF\n"),
            {"2:0: warning"}},
        Row{"CaseNoPickGives",
            script("CMST,1,＊a\nCMSL,1,6\nCASE,100\nCASE,105\nGOTO,6\nENDCM\nEOF\n"),
            {"4:0: warning", "5:0: warning"}},
        Row{"CaseEndLineIsNotTheEndcm",
            script("CMST,1,＊a\nCMSL,1,5\nCASE,100\nENDCM\nEOF\n"),
            {"2:8: warning"}},
        // The cause comes first, with the stop it causes folded into it.
        Row{"UnixLineEnds", std::string("MES,a\nEOF\n"), {"1:6: error: 命令無し"}},
        Row{"UnixLineEndsWithCrLfAfter", std::string("MES,a\nb\r\nEOF\r\n"), {"1:6: warning"}},
        Row{"Utf8Text", std::string("MES,\xe3\x81\x82\r\nEOF\r\n"), {"1:1: warning"}},
        Row{"BytesThatDoNotDecode", std::string("MES,\x81\r\nEOF\r\n"), {"1:5: warning"}},
        Row{"Over1200Lines",
            [] {
              std::string s;
              for (int i = 0; i < 1201; ++i) s += "EOF\r\n";
              return s;
            }(),
            {"1201:0: error: ファイルが読込めません"}}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(Checker, ReportsMissingAndUndecodableMediaOncePerName) {
  const fs::path folder = testing_support::scenarioFolder("checker-media");
  std::ofstream(folder / "broken.szg") << "not a picture";
  std::ofstream(folder / "Tune.mid") << "MThd";
  const std::string bytes =
      script("GHG,broken\nGHG,nope\nGHG,nope\nMUSPL,tune,1\nSOUND,bell,1\nEOF\n");
  CheckOptions o;
  const auto r = author::checkScriptBytes(bytes, platform::GameFolder(folder), o);
  EXPECT_EQ(summary(r),
            (std::vector<std::string>{"1:5: error", "2:5: error", "4:7: error", "5:7: error"}));
  EXPECT_NE(r.diagnostics[1].text.find("(also on line 3)"), std::string::npos);
  EXPECT_NE(r.diagnostics[1].text.find((folder / "nope.szg").string()), std::string::npos);
  // Found in any case (named as on disk, or on Windows, whose file system ignores case, as
  // the script names it), and read.
  std::string music = r.diagnostics[2].text;
  for (char& c : music) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(music.find("tune.mid cannot be decoded"), std::string::npos) << r.diagnostics[2].text;
}

TEST(Checker, AMissingScriptNamesThePathItLookedFor) {
  const fs::path file = testing_support::scenarioFolder("checker-none") / "TORAMI.acs";
  const auto r = author::checkScriptFile(file, platform::GameFolder(file.parent_path()));
  ASSERT_EQ(summary(r), std::vector<std::string>{"0:0: error: ファイルが読込めません"});
  EXPECT_NE(r.diagnostics[0].text.find(file.string()), std::string::npos);
}

TEST(Checker, PrintsLikeACompilerWithTheLineAndACaret) {
  CheckOptions o;
  o.media = false;
  const auto r =
      author::checkScriptBytes(script("MES,あ＠16い\nEOF\n"), platform::GameFolder("."), o);
  std::ostringstream out;
  author::printDiagnostics(out, r, "game/TORAMI.acs");
  EXPECT_EQ(out.str(),
            "game/TORAMI.acs:1:7: error: 範囲外: the colour after ＠ \"16\" lies outside 0..15\n"
            " 1 | MES,あ＠16い\n"
            "   |         ^\n"
            "1 error, 0 warnings\n");
}

TEST(Checker, TheDemoPassesWithNothingToSay) {
  const fs::path demo = fs::path(TORAMI_SOURCE_DIR) / "demo";
  const auto r = author::checkScriptFile(demo / "TORAMI.acs", platform::GameFolder(demo));
  EXPECT_TRUE(r.diagnostics.empty()) << r.diagnostics.front().text;
  // Every line that can run is reachable, and only CASE lines are left out of the runnable.
  for (int k = 1; k <= r.script.lineCount(); ++k)
    if (r.shape.runnable[k]) {
      EXPECT_TRUE(r.shape.reachable[k]) << k;
    }
}

}  // namespace
