// A finger as the mouse: a tap clicks, a finger held 600 ms right-clicks, a moving finger
// does neither.
#include "gui/touch_gesture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using gui::RawInput;
using gui::TouchGesture;

std::string describe(const std::vector<RawInput>& inputs) {
  std::string out;
  for (const RawInput& in : inputs)
    out += std::string(in.type == RawInput::Press ? "down" : "up") +
           (in.button == gui::MouseButton::Left ? "L" : "R") + "@" + std::to_string(in.x) + "," +
           std::to_string(in.y) + " ";
  return out;
}

TEST(TouchGesture, TapsAndLongPresses) {
  const struct {
    const char* what;
    uint32_t wakeAt;  // when the backend looks for a due long press (0: not before lifting)
    int moveBy;       // how far the finger wanders
    uint32_t liftAt;
    const char* fromDue;
    const char* fromUp;
  } cases[] = {
      {"a tap", 0, 0, 1200, "", "downL@10,20 upL@10,20 "},
      {"a tap with a small wobble", 0, 5, 1200, "", "downL@10,20 upL@10,20 "},
      {"a long press seen while held", 1600, 0, 2000, "downR@10,20 upR@10,20 ", ""},
      {"a long press lifted before the wait woke", 0, 0, 1700, "", "downR@10,20 upR@10,20 "},
      {"not yet long", 1500, 0, 1550, "", "downL@10,20 upL@10,20 "},
      {"a swipe", 1700, 40, 1800, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TouchGesture g;
    g.down(7, 10, 20, 1000);
    g.move(7, 10 + c.moveBy, 20);
    EXPECT_EQ(g.deadline().has_value(), c.moveBy <= TouchGesture::kSlop);
    EXPECT_EQ(describe(c.wakeAt ? g.due(c.wakeAt) : std::vector<RawInput>{}), c.fromDue);
    EXPECT_TRUE(g.up(8, c.liftAt).empty()) << "a finger that never touched";
    EXPECT_EQ(describe(g.up(7, c.liftAt)), c.fromUp);
    EXPECT_FALSE(g.deadline().has_value());
  }
}

/* Two fingers that tap together ask for the player's menu once both lift, and click
   nothing; a third finger changes nothing, a finger that moves spoils the tap. */
TEST(TouchGesture, TwoFingersTapForThePlayersMenu) {
  for (const bool moved : {false, true}) {
    SCOPED_TRACE(moved);
    TouchGesture g;
    g.down(1, 10, 20, 1000);
    g.down(2, 200, 20, 1030);
    g.down(3, 300, 20, 1040);
    if (moved) g.move(1, 100, 20);
    EXPECT_FALSE(g.deadline().has_value()) << "no long press while two fingers are down";
    EXPECT_TRUE(g.up(3, 1100).empty());
    EXPECT_TRUE(g.up(1, 1100).empty());
    const auto out = g.up(2, 1120);
    ASSERT_EQ(out.size(), moved ? 0u : 1u);
    if (!moved) {
      EXPECT_EQ(out[0].type, RawInput::Request);
      EXPECT_EQ(out[0].comfort, gui::Comfort::PlayerMenu);
    }
    g.down(4, 10, 20, 2000);  // the next touch is a tap again
    EXPECT_EQ(describe(g.up(4, 2100)), "downL@10,20 upL@10,20 ");
  }
}

}  // namespace
