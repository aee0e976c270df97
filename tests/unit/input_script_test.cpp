// The input file of headless runs.
#include "record/input_script.h"

#include <gtest/gtest.h>

namespace {

using record::InputAction;
using record::parseInputScript;

TEST(InputScript, ReadsEveryActionKind) {
  auto a = parseInputScript(
      "# comment\n\nclick\nclick picture\nrclick\npick 3\nrpick 7\nheading\nchance\n"
      "clickat 10 20\nclickat 1 2 right\ndblclickat 5 6\nclose\nat 150 click\nat 200 pick 0\n",
      "in");
  ASSERT_EQ(a.size(), 13u);
  EXPECT_EQ(a[0].kind, InputAction::Click);
  EXPECT_EQ(a[1].kind, InputAction::ClickPicture);
  EXPECT_EQ(a[2].kind, InputAction::RClick);
  EXPECT_EQ(a[3].kind, InputAction::Pick);
  EXPECT_EQ(a[3].n, 3);
  EXPECT_EQ(a[4].kind, InputAction::RPick);
  EXPECT_EQ(a[7].kind, InputAction::ClickAt);
  EXPECT_EQ(a[7].x, 10);
  EXPECT_EQ(a[7].y, 20);
  EXPECT_FALSE(a[7].right);
  EXPECT_TRUE(a[8].right);
  EXPECT_EQ(a[9].kind, InputAction::DblClickAt);
  EXPECT_EQ(a[10].kind, InputAction::Close);
  EXPECT_FALSE(a[10].at.has_value());
  EXPECT_EQ(a[11].at, 150u);
  EXPECT_EQ(a[12].kind, InputAction::Pick);
  EXPECT_EQ(a[12].lineNumber, 15);
}

TEST(InputScript, ReadsKeysWithTheirModifiersAndTheWheel) {
  const struct {
    const char* line;
    InputAction::Kind kind;
    const char* fullName;
    int notches;
  } cases[] = {
      {"key Return", InputAction::KeyPress, "Return", 0},
      {"key Alt+Return", InputAction::KeyPress, "Alt+Return", 0},
      {"key Ctrl+Shift+Tab", InputAction::KeyPress, "Ctrl+Shift+Tab", 0},
      {"hold Left Ctrl", InputAction::Hold, "Left Ctrl", 0},
      {"release  Right Ctrl ", InputAction::Release, "Right Ctrl", 0},
      {"at 50 key Keypad Enter", InputAction::KeyPress, "Keypad Enter", 0},
      {"key F12", InputAction::KeyPress, "F12", 0},
      {"key =", InputAction::KeyPress, "=", 0},
      {"wheel up", InputAction::Wheel, "", 1},
      {"wheel down", InputAction::Wheel, "", -1},
      {"button Start", InputAction::Button, "Start", 0},
      {"button LB", InputAction::Button, "LB", 0},
      {"twofinger", InputAction::TwoFinger, "", 0},
      {"save 30", InputAction::SaveSlot, "", 30},
      {"load 1", InputAction::LoadSlot, "", 1},
      {"rewind", InputAction::Rewind, "", 0},
  };
  for (const auto& c : cases) {
    auto a = parseInputScript(std::string(c.line) + "\n", "in");
    ASSERT_EQ(a.size(), 1u) << c.line;
    EXPECT_EQ(a[0].kind, c.kind) << c.line;
    EXPECT_EQ(a[0].key.fullName(), c.fullName) << c.line;
    const bool slot = c.kind == InputAction::SaveSlot || c.kind == InputAction::LoadSlot;
    EXPECT_EQ(slot ? a[0].n : a[0].notches, c.notches) << c.line;
  }
}

TEST(InputScript, ErrorsNameTheFileAndLine) {
  const char* bad[] = {"clik\n",
                       "pick 8\n",
                       "pick\n",
                       "click there\n",
                       "clickat 1\n",
                       "at x click\n",
                       "at 5\n",
                       "at 5 at 6 click\n",
                       "clickat 1 2 left\n",
                       "key\n",
                       "key return\n",
                       "key F13\n",
                       "key Alt+\n",
                       "hold Enter\n",
                       "wheel\n",
                       "wheel left\n",
                       "key Ctrl+Meta+A\n",
                       "button\n",
                       "button C\n",
                       "button a\n",
                       "save 0\n",
                       "save 31\n",
                       "load\n",
                       "rewind 2\n",
                       "twofinger x\n"};
  for (const char* text : bad) {
    try {
      parseInputScript(std::string("click\n") + text, "moves.txt");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const record::InputError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("moves.txt:2:", 0), 0u) << e.what();
    }
  }
}

TEST(InputScript, TimesCoverTheWholeClockAndNoMore) {
  const struct {
    const char* time;
    std::optional<uint32_t> ms;  // nullopt: an error
  } cases[] = {
      {"0", 0u},
      {"+5", 5u},
      {"0002147483648", 2147483648u},
      {"4294967295", 4294967295u},
      {"4294967296", std::nullopt},
      {"-1", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"1e3", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::string text = std::string("at ") + c.time + " click\n";
    if (c.ms) {
      EXPECT_EQ(parseInputScript(text, "f").at(0).at, c.ms) << c.time;
    } else {
      EXPECT_THROW(parseInputScript(text, "f"), record::InputError) << c.time;
    }
  }
}

/* A bad line is quoted in a short piece; a line or a file past its limit is an error at
   once, before the rest is read. */
TEST(InputScript, BadLinesAreQuotedShortAndLimitsHold) {
  const struct {
    const char* what;
    std::string text;
    std::string said;
  } cases[] = {
      {"a long unparsable line", std::string(5000 - 1, 'y') + "\n", "f:1: the line is longer than"},
      {"a long line without an end", "click\n" + std::string(10000, 'y'),
       "f:2: the line is longer than"},
      {"an unparsable line", "click\n" + std::string(100, 'z') + "\n",
       "f:2: not an input action: " + std::string(40, 'z') + "..."},
      {"a line of kana", std::string(60, '\x82') + "\n", "f:1: not an input action: "},
  };
  for (const auto& c : cases) {
    try {
      parseInputScript(c.text, "f");
      ADD_FAILURE() << "accepted: " << c.what;
    } catch (const record::InputError& e) {
      const std::string said = e.what();
      EXPECT_EQ(said.rfind(c.said, 0), 0u) << c.what << ": " << said;
      EXPECT_LE(said.size(), 80u) << c.what;
    }
  }
  EXPECT_EQ(parseInputScript(std::string(4000, ' ') + "click", "f").size(), 1u);
}

TEST(InputScript, TimedActionsMustBeInOrder) {
  EXPECT_THROW(parseInputScript("at 200 click\nclick\nat 100 click\n", "f"), record::InputError);
  EXPECT_NO_THROW(parseInputScript("at 100 click\nclick\nat 100 click\n", "f"));
  EXPECT_THROW(record::readInputScript("/nonexistent/input"), record::InputError);
}

TEST(InputScript, ACommentMayEndALine) {
  auto a = parseInputScript("click   # the message area\npick 2 # a label\n  # alone\n", "in");
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[1].n, 2);
  // "#" only starts a comment at the start of a line or after a blank.
  EXPECT_THROW(parseInputScript("click#x\n", "in"), record::InputError);
}

}  // namespace
