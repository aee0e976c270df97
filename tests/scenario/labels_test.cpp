// The label and item text commands run headless: LBHGA and LBHGV set the caption of
// LBhg(0), ITMS and ITCG fill the item tables; slots and indexes outside their tables
// stop the script with "範囲外", and the order of reading the fields decides which error
// a broken line reports.
#include <gtest/gtest.h>

#include "picture_fixtures.h"
#include "platform/text_codec.h"
#include "support/scenario.h"
#include "ui/design.h"

namespace {

namespace fs = std::filesystem;
using testing_support::runScript;

/* A run in a folder of its own that keeps its shots; returns the last shot. */
formats::Image finalShot(const std::string& name, const std::string& script) {
  fs::path folder = testing_support::scenarioFolder(name);
  testing_support::writeScript(folder, script);
  testing_support::ScenarioOptions o;
  o.shots = true;
  testing_support::runFolder(folder, o);
  return picture_fixtures::readShots(folder).back();
}

TEST(Labels, LbhgvShowsTheValueInDecimal) {
  struct Case {
    const char* field;
    const char* caption;
  } cases[] = {{"0", "0"},         {"-5", "-5"},         {"12", "12"},   {" 7 ", "7"},
               {"32767", "32767"}, {"-32768", "-32768"}, {"007", "7"},   {"+3", "3"},
               {"F04", "-12"},     {"F4", "-12"},        {"F045", "-12"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    auto r = runScript(std::string("LET,4,-12\nLBHGV,0,") + c.field + "\nEXIT\n");
    ASSERT_EQ(r.reason(), "exit") << r.errorText();
    EXPECT_EQ(r.last("wait")["lbhg"].str(), c.caption);
  }
}

/* A flag reference is read once, when the command runs: later changes of the flag leave
   the caption alone. */
TEST(Labels, LbhgvWithAFlagKeepsTheValueOfItsTime) {
  auto s = picture_fixtures::withShots(
      {"LET,7,3", "LBHGV,0,F07", "SHOT", "LET,7,9", "INC,7,20,S", "SHOT", "LBHGV,0,F07", "EXIT"});
  auto r = runScript(s.script, s.input);
  auto waits = r.all("wait");
  ASSERT_EQ(waits.size(), 3u);
  EXPECT_EQ(waits[0]["lbhg"].str(), "3");
  EXPECT_EQ(waits[1]["lbhg"].str(), "3");
  EXPECT_EQ(waits[1]["flags"][7].integer(), 10);
  EXPECT_EQ(waits[2]["lbhg"].str(), "10");
}

TEST(Labels, LbhgaShowsTheTextUnchanged) {
  struct Case {
    const char* line;
    const char* caption;
  } cases[] = {
      {"LBHGA,0,得点", "得点"},     {"LBHGA,0, a b ", " a b "}, {"LBHGA,0,", ""},
      {"LBHGA,0,ｶﾅ１２", "ｶﾅ１２"}, {"LBHGA,0,one,two", "one"}, {"LBHGA,F00,x", "x"},
      {"LBHGA,0,＊＠￥", "＊＠￥"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    auto r = runScript(std::string("LBHGA,0,old\n") + c.line + "\nEXIT\n");
    ASSERT_EQ(r.reason(), "exit") << r.errorText();
    EXPECT_EQ(r.last("wait")["lbhg"].str(), c.caption);
  }
}

TEST(Labels, LbhgIsEmptyAtStart) {
  auto r = runScript("EXIT\n");
  EXPECT_EQ(r.last("wait")["lbhg"].str(), "");
}

/* The caption is drawn inside the label's rectangle and nowhere else. */
TEST(Labels, TheCaptionIsDrawnOnTheLabel) {
  formats::Image a = finalShot("Labels.caption-empty", "LBHGA,0,\nEXIT\n");
  formats::Image b = finalShot("Labels.caption-shown", "LBHGV,0,88\nEXIT\n");
  ASSERT_EQ(a.width(), b.width());
  const formats::Rect label = ui::design::kLBhg;
  EXPECT_GT(picture_fixtures::differences(a, b, label), 0);
  EXPECT_EQ(picture_fixtures::differences(a, b, a.bounds()),
            picture_fixtures::differences(a, b, label));
}

/* Item texts are stored as written, markup included; a later text replaces the slot. */
TEST(Labels, ItmsAndItcgFillTheirSlots) {
  fs::path folder = testing_support::scenarioFolder("Labels.items");
  std::string script;
  for (int k = 0; k < 8; ++k)
    script += "ITMS," + std::to_string(k) + ",品" + std::to_string(k) + "＠\nITCG," +
              std::to_string(k) + ",絵" + std::to_string(k) + "\n";
  script += "LET,2,3\nITMS,F02,二度目＊\nITCG,3,\nEXIT\n";
  picture_fixtures::Window w(folder, script);
  ASSERT_EQ(w.acs.run(), 0);
  for (int k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    std::u32string digit(1, static_cast<char32_t>(U'0' + k));
    EXPECT_EQ(w.acs.state().ItemMessages[k], k == 3 ? U"二度目＊" : U"品" + digit + U"＠");
    EXPECT_EQ(w.acs.state().ItemCgTexts[k], k == 3 ? U"" : U"絵" + digit);
  }
}

TEST(Labels, ItemTextsShowNothing) {
  formats::Image plain = finalShot("Labels.items-plain", "EXIT\n");
  formats::Image items = finalShot("Labels.items-set", "ITMS,0,品物\nITCG,0,絵\nEXIT\n");
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(items, plain);
}

/* ITMS and ITCG read the text first, LBHGA and LBHGV the index first: a line with both
   faults reports the one read first. */
TEST(Labels, OutOfRangeAndBrokenFieldsStopWithTheirLine) {
  struct Case {
    const char* line;
    const char* box;
  } cases[] = {
      {"ITMS,8,本", "範囲外( 2)\rITMS,8,本"},
      {"ITMS,-1,本", "範囲外( 2)\rITMS,-1,本"},
      {"ITMS,F03,本", "範囲外( 2)\rITMS,F03,本"},
      {"ITCG,8,絵", "範囲外( 2)\rITCG,8,絵"},
      {"ITCG,32767,絵", "範囲外( 2)\rITCG,32767,絵"},
      {"ITMS,9", "引数無し( 2)\rITMS,9"},
      {"ITMS,x,本", "数値不正( 2)\rITMS,x,本"},
      {"ITCG,,絵", "数値不正( 2)\rITCG,,絵"},
      {"LBHGA,1,字", "範囲外( 2)\rLBHGA,1,字"},
      {"LBHGA,-1,字", "範囲外( 2)\rLBHGA,-1,字"},
      {"LBHGA,1", "範囲外( 2)\rLBHGA,1"},
      {"LBHGA,0", "引数無し( 2)\rLBHGA,0"},
      {"LBHGV,1,5", "範囲外( 2)\rLBHGV,1,5"},
      {"LBHGV,F03,5", "範囲外( 2)\rLBHGV,F03,5"},
      {"LBHGV,5,abc", "範囲外( 2)\rLBHGV,5,abc"},
      {"LBHGV,0,abc", "数値不正( 2)\rLBHGV,0,abc"},
      {"LBHGV,0,", "数値不正( 2)\rLBHGV,0,"},
      {"LBHGV,0,40000", "数値不正( 2)\rLBHGV,0,40000"},
      {"LBHGV,0", "引数無し( 2)\rLBHGV,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    auto r = runScript(std::string("LET,3,9\n") + c.line + "\nLBHGA,0,after\nEXIT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.reason(), "error");
    EXPECT_EQ(r.errorText(), c.box);
    EXPECT_EQ(r.last("wait")["lbhg"].str(), "");
  }
}

}  // namespace
