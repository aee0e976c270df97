#include "gui/touch_gesture.h"

#include <cstdlib>

namespace gui {
namespace {

std::vector<RawInput> click(int x, int y, MouseButton button) {
  return {RawInput::mouse(RawInput::Press, x, y, button),
          RawInput::mouse(RawInput::Release, x, y, button)};
}

}  // namespace

void TouchGesture::down(int64_t finger, int x, int y, uint32_t t) {
  ++fingers_;
  if (!touch_) {
    touch_ = Touch{finger, x, y, t};
    twoFingers_ = false;
  } else if (fingers_ == 2 && !touch_->moved && !touch_->pressed) {
    twoFingers_ = true;
  }
}

void TouchGesture::move(int64_t finger, int x, int y) {
  if (touch_ && touch_->finger == finger &&
      (std::abs(x - touch_->x) > kSlop || std::abs(y - touch_->y) > kSlop))
    touch_->moved = true;
}

std::vector<RawInput> TouchGesture::up(int64_t finger, uint32_t t) {
  if (fingers_ > 0) --fingers_;
  if (twoFingers_) {  // the gesture ends when the last finger lifts
    if (fingers_ > 0) return {};
    const bool tapped = touch_ && !touch_->moved;
    touch_.reset();
    twoFingers_ = false;
    if (tapped) return {RawInput::ask(Comfort::PlayerMenu)};
    return {};
  }
  if (!touch_ || touch_->finger != finger) return {};
  const Touch touch = *touch_;
  touch_.reset();
  if (touch.moved || touch.pressed) return {};
  const bool held = t - touch.since >= kLongPressMs;  // lifted before the wait woke
  return click(touch.x, touch.y, held ? MouseButton::Right : MouseButton::Left);
}

std::optional<uint32_t> TouchGesture::deadline() const {
  if (!touch_ || touch_->moved || touch_->pressed || twoFingers_) return std::nullopt;
  return touch_->since + kLongPressMs;
}

std::vector<RawInput> TouchGesture::due(uint32_t now) {
  const auto when = deadline();
  if (!when || static_cast<int32_t>(now - *when) < 0) return {};
  touch_->pressed = true;
  return click(touch_->x, touch_->y, MouseButton::Right);
}

}  // namespace gui
