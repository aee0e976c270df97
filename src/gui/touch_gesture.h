#pragma once
// A finger on a touch screen as the mouse the title knew: a tap is a left click, a finger
// held still for 600 ms a right click at that point. Two fingers tapping together ask for
// the player's menu.
#include <cstdint>
#include <optional>
#include <vector>

#include "gui/backend.h"

namespace gui {

class TouchGesture {
 public:
  static constexpr uint32_t kLongPressMs = 600;
  // How far (in client pixels) a finger may wander and still tap or long-press.
  static constexpr int kSlop = 12;

  // A finger touches at a client position; a second finger makes the touch a two-finger
  // tap, further ones are ignored.
  void down(int64_t finger, int x, int y, uint32_t t);
  void move(int64_t finger, int x, int y);
  // The finger lifts: a left click when it was a tap.
  std::vector<RawInput> up(int64_t finger, uint32_t t);
  // When the finger held now becomes a long press, if one is pending.
  std::optional<uint32_t> deadline() const;
  // The right click of a long press whose time has come, once.
  std::vector<RawInput> due(uint32_t now);

 private:
  struct Touch {
    int64_t finger;
    int x, y;
    uint32_t since;
    bool moved = false, pressed = false;
  };
  std::optional<Touch> touch_;
  int fingers_ = 0;          // fingers down now
  bool twoFingers_ = false;  // a second finger came while the first was down
};

}  // namespace gui
