// The message renderer run headless: wrapping and the hanging indent, page and line
// breaks, speaker tags, colours across calls, typing speed in virtual time, clicks, the
// error boxes of bad markup, and the pixels really drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "formats/picture_loader.h"
#include "gui/font.h"
#include "support/scenario.h"

using testing_support::JsonValue;
using testing_support::runScript;
using testing_support::ScenarioResult;

namespace {

const std::string I = "　　　　　";  // the five-column indent
const std::string kBlack = "#000000", kBlue = "#000080", kGreen = "#008000";
const std::string kLightBlue = "#0000ff", kRed = "#ff0000", kMagenta = "#800080";

// 19 and 24 distinct full-width characters.
const std::string k19 = "あいうえおかきくけこさしすせそたちつて";
const std::string k24 = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸ";

using Runs = std::vector<std::pair<std::string, std::string>>;

// The expected `mes` value, written the way the trace writes it.
std::string page(const std::vector<Runs>& rows) {
  std::string out = "[";
  for (size_t r = 0; r < rows.size(); ++r) {
    out += r ? ",[" : "[";
    for (size_t k = 0; k < rows[r].size(); ++k)
      out += (k ? ",[\"" : "[\"") + rows[r][k].first + "\",\"" + rows[r][k].second + "\"]";
    out += "]";
  }
  return out + "]";
}

std::string page(const JsonValue& mes) {
  std::vector<Runs> rows;
  for (const JsonValue& row : mes.array()) {
    Runs runs;
    for (const JsonValue& run : row.array()) runs.push_back({run[0].str(), run[1].str()});
    rows.push_back(runs);
  }
  return page(rows);
}

std::vector<std::string> clickPages(const ScenarioResult& r) {
  std::vector<std::string> pages;
  for (const JsonValue& w : r.all("wait"))
    if (w["kind"].str() == "click") pages.push_back(page(w["mes"]));
  return pages;
}

std::string endPage(const ScenarioResult& r) { return page(r.last("wait")["mes"]); }

std::string clicks(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "click\n";
  return s;
}

// One message, then EXIT, with enough clicks for its waits.
ScenarioResult message(const std::string& text, int clickCount = 0) {
  return runScript("MES," + text + "\nEXIT\n", clicks(clickCount));
}

TEST(MessageRenderer, NineteenCharactersFillALineAfterTheIndent) {
  auto r = message(k19);
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(endPage(r), page({{{kBlack, I + k19}}, {}}));
  r = message(k19 + "ん");
  EXPECT_EQ(endPage(r), page({{{kBlack, I + k19}}, {{kBlack, I + "ん"}}}));
}

TEST(MessageRenderer, AnExactlyFullPageStillWaitsAndReturnsCleared) {
  auto r = message(k19 + k19);
  EXPECT_EQ(r.reason(), "input");  // it waited for a click that never came
  ASSERT_EQ(clickPages(r).size(), 1u);
  EXPECT_EQ(clickPages(r)[0], page({{{kBlack, I + k19}}, {{kBlack, I + k19}}}));
  EXPECT_EQ(r.first("wait")["cursor"].str(), "custom");

  r = message(k19 + k19, 1);
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(endPage(r), page({{}, {}}));
  EXPECT_EQ(r.last("wait")["cursor"].str(), "default");
}

TEST(MessageRenderer, TheThirdLineGoesOnAfterTheClick) {
  auto r = message(k19 + k19 + "ん", 1);
  EXPECT_EQ(endPage(r), page({{{kBlack, I + "ん"}}, {}}));
}

TEST(MessageRenderer, YenAtTheEndWaitsAndClearsWithoutItTheTextStays) {
  auto r = message("はい￥", 1);
  ASSERT_EQ(clickPages(r).size(), 1u);
  EXPECT_EQ(clickPages(r)[0], page({{{kBlack, I + "はい"}}, {}}));
  EXPECT_EQ(endPage(r), page({{}, {}}));

  r = message("はい");
  EXPECT_TRUE(clickPages(r).empty());
  EXPECT_EQ(endPage(r), page({{{kBlack, I + "はい"}}, {}}));

  r = runScript("MES,はい\nMES,いいえ\nEXIT\n", "");
  EXPECT_EQ(endPage(r), page({{{kBlack, I + "いいえ"}}, {}}));
}

TEST(MessageRenderer, YenInTheMiddleStartsANewPage) {
  auto r = message("あ￥い", 1);
  EXPECT_EQ(clickPages(r)[0], page({{{kBlack, I + "あ"}}, {}}));
  EXPECT_EQ(endPage(r), page({{{kBlack, I + "い"}}, {}}));
}

TEST(MessageRenderer, SpeakerTags) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> waits;  // pages at the click waits
    std::string end;
  } cases[] = {
      {"at the start of a line",
       "＆3あいう：3こんにちは",
       {},
       page({{{kRed, "「あいう」"}, {kBlack, "こんにちは"}}, {}})},
      {"in the middle of a line",
       "＆3あいうはい：3いいえ",
       {},
       page({{{kBlack, I + "はい"}}, {{kRed, "「あいう」"}, {kBlack, "いいえ"}}})},
      {"speech continues indented under the tag",
       "＆3あいう：3" + k19 + "ん",
       {},
       page({{{kRed, "「あいう」"}, {kBlack, k19}}, {{kBlack, I + "ん"}}})},
      {"in the middle of the last row",
       "＆3あいうあ＾い：3う",
       {page({{{kBlack, I + "あ"}}, {{kBlack, I + "い"}}})},
       page({{{kRed, "「あいう」"}, {kBlack, "う"}}, {}})},
      {"an unset slot",
       "：5" + k19 + "ん",
       {},
       page({{{kRed, "「」"}, {kBlack, k19}}, {{kBlack, I + "ん"}}})},
      {"a tag right after a full line",
       "＆1かきく" + k19 + "：1け",
       {},
       page({{{kBlack, I + k19}}, {{kRed, "「かきく」"}, {kBlack, "け"}}})},
      {"a lower-case slot digit",
       "＆bさしす：Bせ",
       {},
       page({{{kRed, "「さしす」"}, {kBlack, "せ"}}, {}})},
  };
  for (const Case& c : cases) {
    auto r = message(c.text, 1);
    EXPECT_EQ(r.reason(), "exit") << c.name;
    EXPECT_EQ(clickPages(r), c.waits) << c.name;
    EXPECT_EQ(endPage(r), c.end) << c.name;
  }
}

TEST(MessageRenderer, SpeakerNamesLiveFromCallToCall) {
  auto r = runScript("MES,＆2かきく\nMES,：2あ\nEXIT\n", "");
  EXPECT_EQ(endPage(r), page({{{kRed, "「かきく」"}, {kBlack, "あ"}}, {}}));
}

TEST(MessageRenderer, LineBreaks) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> waits;
    std::string end;
  } cases[] = {
      {"at column 0 nothing happens",
       "＾あ＾＾い",
       {},
       page({{{kBlack, I + "あ"}}, {{kBlack, I + "い"}}})},
      {"after a full line no empty line",
       k19 + "＾あ",
       {},
       page({{{kBlack, I + k19}}, {{kBlack, I + "あ"}}})},
      {"on the last row with text it waits",
       "あ＾い＾",
       {page({{{kBlack, I + "あ"}}, {{kBlack, I + "い"}}})},
       page({{}, {}})},
      {"on the last row then more text",
       "あ＾い＾う",
       {page({{{kBlack, I + "あ"}}, {{kBlack, I + "い"}}})},
       page({{{kBlack, I + "う"}}, {}})},
  };
  for (const Case& c : cases) {
    auto r = message(c.text, 1);
    EXPECT_EQ(r.reason(), "exit") << c.name;
    EXPECT_EQ(clickPages(r), c.waits) << c.name;
    EXPECT_EQ(endPage(r), c.end) << c.name;
  }
}

TEST(MessageRenderer, UnindentedLinesHoldTwentyFourCharacters) {
  auto r = message("＜" + k24 + "あいう");
  EXPECT_EQ(endPage(r), page({{{kBlue, k24}}, {{kBlue, "あいう"}}}));
  // Back to normal mode the next line is indented again.
  r = message("＜" + k24 + "あ＞い");
  EXPECT_EQ(endPage(r), page({{{kBlue, k24}}, {{kBlue, "あ"}, {kBlack, "い"}}}));
  r = message("＜あ＾い");
  EXPECT_EQ(endPage(r), page({{{kBlue, "あ"}}, {{kBlue, "い"}}}));
  r = message("＜あ＞＾い");
  EXPECT_EQ(endPage(r), page({{{kBlue, "あ"}}, {{kBlack, I + "い"}}}));
}

TEST(MessageRenderer, Colours) {
  struct Case {
    const char* name;
    std::string script;
    std::string end;
  } cases[] = {
      {"a change applies to later characters", "MES,あ＠09い\n",
       page({{{kBlack, I + "あ"}, {kLightBlue, "い"}}, {}})},
      {"the next call starts with the colour left", "MES,＠12あ\nMES,い\n",
       page({{{kRed, I + "い"}}, {}})},
      {"the unindented blue also carries over", "MES,＜あ\nMES,い\n",
       page({{{kBlue, I + "い"}}, {}})},
      {"＞ before any ＠ sets black", "MES,＜あ＞い\n",
       page({{{kBlue, "あ"}, {kBlack, "い"}}, {}})},
      {"＞ restores the text colour", "MES,＠02あ＜い＞う\n",
       page({{{kGreen, I + "あ"}, {kBlue, "い"}, {kGreen, "う"}}, {}})},
      {"a tag restores the text colour", "MES,＆1なまえ＠02あ：1い\n",
       page({{{kGreen, I + "あ"}}, {{kRed, "「なまえ」"}, {kGreen, "い"}}})},
      {"a tag in unindented mode restores the text colour too", "MES,＜あ：1い\n",
       page({{{kBlue, "あ"}}, {{kRed, "「」"}, {kBlack, "い"}}})},
      {"the text colour lives from call to call", "MES,＠02＜あ\nMES,＞い\n",
       page({{{kGreen, I + "い"}}, {}})},
      {"a blank before a single digit", "MES,＠ 9あ\n", page({{{kLightBlue, I + "あ"}}, {}})},
      {"full-width digits", "MES,＠１２あ＠　５い\n",
       page({{{kRed, I + "あ"}, {kMagenta, "い"}}, {}})},
      {"white", "MES,＠15あ\n", page({{{"#ffffff", I + "あ"}}, {}})},
  };
  for (const Case& c : cases) {
    auto r = runScript(std::string(c.script) + "EXIT\n", "");
    EXPECT_EQ(r.reason(), "exit") << c.name;
    EXPECT_EQ(endPage(r), c.end) << c.name;
  }
}

TEST(MessageRenderer, AsciiLookAlikesArePrinted) {
  auto r = message("&1ab:1<x>^#05@12");
  EXPECT_EQ(endPage(r), page({{{kBlack, I + "&1ab:1<x>^#05@12"}}, {}}));
}

TEST(MessageRenderer, MarkupCutShortIsIgnored) {
  struct Case {
    std::string script;
    std::string end;
  } cases[] = {
      {"MES,あ＠1\n", page({{{kBlack, I + "あ"}}, {}})},
      {"MES,あ＃\n", page({{{kBlack, I + "あ"}}, {}})},
      {"MES,＆1かき\nMES,：1え\n", page({{{kRed, "「」"}, {kBlack, "え"}}, {}})},
      // No tag, so no wait for the last row either.
      {"MES,あ＾い：\n", page({{{kBlack, I + "あ"}}, {{kBlack, I + "い"}}})},
  };
  for (const Case& c : cases) {
    auto r = runScript(c.script + "EXIT\n", "");
    EXPECT_EQ(r.reason(), "exit") << c.script;
    EXPECT_EQ(endPage(r), c.end) << c.script;
  }
}

TEST(MessageRenderer, AnEmptyMessageClearsTheArea) {
  auto r = runScript("MES,あ\nMES,\nEXIT\n", "");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(endPage(r), page({{}, {}}));
}

TEST(MessageRenderer, BadMarkupArgumentsStopWithTheirBox) {
  struct Case {
    std::string script;
    std::string box;
  } cases[] = {
      {"MES,＠AB", "数値不正( 1)\rMES,＠AB"},
      {"MES,あ＠1X", "数値不正( 1)\rMES,あ＠1X"},
      {"MES,＃X1", "数値不正( 1)\rMES,＃X1"},
      {"MES,＃  ", "数値不正( 1)\rMES,＃  "},
      {"MES,＆Gあいう", "数値不正( 1)\rMES,＆Gあいう"},
      {"MES,：Z", "数値不正( 1)\rMES,：Z"},
      {"MES,＠16", "範囲外( 1)\rMES,＠16"},
      {"MES,＠-1", "範囲外( 1)\rMES,＠-1"},
      {"LET,1,1\nMES,＠99あ", "範囲外( 2)\rMES,＠99あ"},
  };
  for (const Case& c : cases) {
    auto r = runScript(c.script + "\nEXIT\n", "");
    EXPECT_EQ(r.status, 1) << c.script;
    EXPECT_EQ(r.reason(), "error") << c.script;
    EXPECT_EQ(r.errorText(), c.box) << c.script;
  }
}

// The times of the waits, the one at the end of the run included.
std::vector<long> waitTimes(const ScenarioResult& r, bool clicksOnly = false) {
  std::vector<long> times;
  for (const JsonValue& w : r.all("wait"))
    if (!clicksOnly || w["kind"].str() == "click") times.push_back(w["t"].integer());
  return times;
}

TEST(MessageRenderer, TypingSpeedStartsAfterTheNextClickWaitOrMessage) {
  // ＃05: 50 ms per character, but not for the rest of the page it is set on.
  auto r = runScript("MES,＃05あい￥かき￥\nMES,さし￥\nMES,＃00す￥せ￥\nEXIT\n", clicks(5));
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(waitTimes(r), (std::vector<long>{0, 100, 200, 250, 250, 250}));

  r = runScript("MES,＃05あい\nMES,かき\nEXIT\n", "");
  EXPECT_EQ(waitTimes(r), (std::vector<long>{100}));
}

TEST(MessageRenderer, NoPauseForIndentTagsOrMarkup) {
  auto r = runScript("MES,＃02￥＆1あいう：1か＾き＠02＜く＞\nEXIT\n", clicks(1));
  // Three characters of text, 20 ms each.
  EXPECT_EQ(r.last("wait")["t"].integer(), 60);
}

TEST(MessageRenderer, AClickDuringTypingSkipsThePausesButDoesNotTurnThePage) {
  // 100 ms per character from the first page on; the click at 150 ms lands in the pause
  // after い, which runs out at 200 ms; the rest of the page types at once.
  const std::string script = "MES,＃10￥あいうえお￥かき￥\nEXIT\n";
  auto r = runScript(script, "click\nat 150 click\n");
  EXPECT_EQ(r.reason(), "input");  // the second page still waits for its own click
  EXPECT_EQ(waitTimes(r, true), (std::vector<long>{0, 200}));
  EXPECT_EQ(clickPages(r).back(), page({{{kBlack, I + "あいうえお"}}, {}}));

  // The next page types with pauses again.
  r = runScript(script, "click\nat 150 click\nclick\nclick\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(waitTimes(r), (std::vector<long>{0, 200, 400, 400}));
}

TEST(MessageRenderer, ClicksOnTheMessageOrPictureAreaWithEitherButtonAdvance) {
  auto r = runScript("MES,あ￥い￥う￥え￥\nEXIT\n",
                     "click\nrclick\nclick picture\nclickat 100 360 right\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(clickPages(r).size(), 4u);
}

TEST(MessageRenderer, ClicksElsewhereDoNotAdvance) {
  // The chance label and the small number label are not the message or picture area.
  auto r = runScript("MES,あ￥\nEXIT\n", "chance\nclickat 480 370\n");
  EXPECT_EQ(r.reason(), "input");
  EXPECT_EQ(clickPages(r).size(), 1u);
}

// Pixels of one colour inside a rectangle of the shot.
int count(const formats::Image& shot, formats::Rect r, formats::Color color) {
  int n = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) n += shot.at(x, y) == color;
  return n;
}

TEST(MessageRenderer, TheTagIsDrawnInLightRedWhereItBelongs) {
  testing_support::ScenarioOptions o;
  o.shots = true;
  o.input = "click\n";
  auto r = runScript("MES,＆1あいう：1かけ＾き￥\nEXIT\n", o);
  ASSERT_EQ(r.reason(), "exit");
  auto shot = formats::loadPicture(r.folder / "shots" / "0001.png");
  ASSERT_TRUE(shot);

  auto font = gui::Font::get({gui::Face::Gothic, 14, false});
  const int h = font->height();
  const int tag = font->measure(U"「あいう」"), ka = font->advance(U'か');
  const int indent = font->measure(U"\u3000\u3000\u3000\u3000\u3000"), ki = font->advance(U'き');
  const int left = 2, top = 338 + 2;  // inside the sunken border of MES at (0, 338)
  const formats::Color red = formats::rgb(255, 0, 0), black = 0,
                       white = formats::rgb(255, 255, 255);

  // Row 0: the tag in light red from the left edge, then かけ in black right after it.
  EXPECT_GT(count(*shot, {left, top, tag, h}, red), 20);
  EXPECT_EQ(count(*shot, {left, top, tag, h}, black), 0);
  EXPECT_EQ(count(*shot, {left, top, font->advance(U'「'), h}, white) +
                count(*shot, {left, top, font->advance(U'「'), h}, red),
            font->advance(U'「') * h);
  EXPECT_GT(count(*shot, {left, top, font->advance(U'「'), h}, red), 5);
  EXPECT_GT(count(*shot, {left + tag, top, ka, h}, black), 20);
  EXPECT_EQ(count(*shot, {left + tag, top, ka, h}, red), 0);
  const int rest = tag + ka + font->advance(U'け');
  EXPECT_EQ(count(*shot, {left + rest, top, 456 - rest, h}, white), (456 - rest) * h);
  // Row 1: the indent is blank, き follows it.
  const int rowH = std::min(h, 41 - h);
  EXPECT_EQ(count(*shot, {left, top + h, indent, rowH}, white), indent * rowH);
  EXPECT_GT(count(*shot, {left + indent, top + h, ki, rowH}, black), 20);

  // The whole inside of MES is exactly those glyphs, one after another from the corner.
  formats::Image expected(456, 41, white);
  int x = font->draw(expected, 0, 0, U"「あいう」", red, expected.bounds());
  font->draw(expected, x, 0, U"かけ", black, expected.bounds());
  font->draw(expected, 0, h, U"\u3000\u3000\u3000\u3000\u3000き", black, expected.bounds());
  formats::Image inside(456, 41);
  inside.paint(*shot, 0, 0, 456, 41, left, top, formats::RasterOp::Copy);
  EXPECT_TRUE(inside == expected);
}

}  // namespace
