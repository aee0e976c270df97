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
    g.down(8, 99, 99, 1001);  // a second finger is ignored
    g.move(7, 10 + c.moveBy, 20);
    EXPECT_EQ(g.deadline().has_value(), c.moveBy <= TouchGesture::kSlop);
    EXPECT_EQ(describe(c.wakeAt ? g.due(c.wakeAt) : std::vector<RawInput>{}), c.fromDue);
    EXPECT_TRUE(g.up(8, c.liftAt).empty());
    EXPECT_EQ(describe(g.up(7, c.liftAt)), c.fromUp);
    EXPECT_FALSE(g.deadline().has_value());
  }
}

}  // namespace
