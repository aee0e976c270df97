#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <iostream>

#include "platform/program_exit.h"
#include "platform/text_codec.h"

namespace platform {

HeadlessBackend::HeadlessBackend(std::vector<InputAction> actions) {
  for (const InputAction& a : actions) (a.at ? timed_ : untimed_).push_back(a);
}

namespace {

// Where each action lands, by the place the form gives it, and with which button.
struct Aim {
  Place place;
  MouseButton button;
  bool twice;  // a double click
};

Aim aimOf(const InputAction& a) {
  constexpr auto L = MouseButton::Left, R = MouseButton::Right;
  switch (a.kind) {
    case InputAction::Click:
      return {Place::MessageArea, L, false};
    case InputAction::ClickPicture:
      return {Place::PictureArea, L, false};
    case InputAction::RClick:
      return {Place::PictureArea, R, false};
    case InputAction::Pick:
      return {Place::MenuLabel, L, false};
    case InputAction::RPick:
      return {Place::MenuLabel, R, false};
    case InputAction::Heading:
      return {Place::MenuHeading, L, false};
    case InputAction::Chance:
      return {Place::ChanceLabel, L, true};
    case InputAction::ClickAt:
      return {Place::None, a.right ? R : L, false};
    case InputAction::DblClickAt:
      return {Place::None, L, true};
    case InputAction::Close:
    case InputAction::KeyPress:
    case InputAction::Hold:
    case InputAction::Release:
    case InputAction::Wheel:
      break;
  }
  return {Place::None, L, false};
}

}  // namespace

/* A press and release is one mouse-down, one mouse-up and the click the window system
   derives; a double click adds a second press and release that completes it. */
void HeadlessBackend::expand(const InputAction& a) {
  auto keyInput = [&](RawInput::Type type) { pending_.push_back(RawInput::keyEvent(type, a.key)); };
  switch (a.kind) {
    case InputAction::Close:
      pending_.push_back(RawInput::close());
      return;
    case InputAction::KeyPress:
      keyInput(RawInput::KeyDown);
      keyInput(RawInput::KeyUp);
      return;
    case InputAction::Hold:
      return keyInput(RawInput::KeyDown);
    case InputAction::Release:
      return keyInput(RawInput::KeyUp);
    case InputAction::Wheel:
      pending_.push_back(RawInput::wheel(a.notches));
      return;
    default:
      break;
  }
  const Aim aim = aimOf(a);
  auto add = [&](RawInput::Type type, bool doubleClick) {
    RawInput in = RawInput::mouse(type, a.x, a.y, aim.button, doubleClick);
    in.place = aim.place, in.index = a.n;
    pending_.push_back(in);
  };
  add(RawInput::Press, false);
  add(RawInput::Release, false);
  if (aim.twice) {
    add(RawInput::Press, true);
    add(RawInput::Release, false);
  }
}

std::optional<RawInput> HeadlessBackend::nextInput() {
  if (pending_.empty()) {
    if (!timed_.empty() && clock_ >= *timed_.front().at) {
      expand(timed_.front());
      timed_.pop_front();
    } else if (granted_ && !untimed_.empty()) {
      expand(untimed_.front());
      untimed_.pop_front();
      granted_ = false;
    }
  }
  if (pending_.empty()) return std::nullopt;
  RawInput in = pending_.front();
  pending_.pop_front();
  return in;
}

void HeadlessBackend::wait(Wait why, std::optional<uint32_t> deadline) {
  switch (why) {
    case Wait::Input:
    case Wait::Poll:
      return idle(deadline);
    case Wait::Time:
      if (deadline) sleepUntil(*deadline);
      return;
    case Wait::Blocked:
      // What falls due meanwhile waits for the next processing of events.
      if (deadline) clock_ = ahead(*deadline);
      return;
  }
}

/* The clock counts in 64 bits, so a timed action at any time up to 2^32 - 1 ms is reached
   however far away it is; the engine's deadlines are tick readings, never more than a
   short wait ahead. */
uint64_t HeadlessBackend::ahead(uint32_t tick) const {
  const auto diff = static_cast<int32_t>(tick - static_cast<uint32_t>(clock_));
  return diff > 0 ? clock_ + static_cast<uint64_t>(diff) : clock_;
}

void HeadlessBackend::moveClockTo(uint64_t t) {
  if (t > clock_) clock_ = t;
}

/* Idle: the next untimed action is delivered at the next processing of events; with none
   left the clock jumps to the next timed action, stopping at timer ticks on the way; with
   nothing left at all the run is over. */
void HeadlessBackend::idle(std::optional<uint32_t> timerDue) {
  if (!pending_.empty()) return;
  if (untimed_.empty() && timed_.empty() && onIdle)
    if (auto next = onIdle()) untimed_.push_back(*next);
  if (!untimed_.empty()) {
    granted_ = true;
    return;
  }
  if (timed_.empty()) throw ProgramExit::game(kExitNoInput, "input");
  uint64_t t = *timed_.front().at;
  if (timerDue) t = std::min(t, ahead(*timerDue));
  moveClockTo(t);
}

void HeadlessBackend::sleepUntil(uint32_t deadline) {
  if (!pending_.empty()) return;
  uint64_t t = ahead(deadline);
  if (!timed_.empty()) t = std::min<uint64_t>(t, *timed_.front().at);
  moveClockTo(t);
}

int HeadlessBackend::ask(const MessageBox& box) {
  std::cerr << lineBreaksAsNewlines(box.text) << std::endl;
  return -1;
}

}  // namespace platform
