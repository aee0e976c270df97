#include "backends/headless/headless_backend.h"

#include <algorithm>
#include <iostream>

#include "engine/run_end.h"
#include "platform/text_codec.h"

namespace backends {

HeadlessBackend::HeadlessBackend(std::vector<record::InputAction> actions) {
  for (const record::InputAction& a : actions) (a.at ? timed_ : untimed_).push_back(a);
}

namespace {

// Where each action lands, by the place the form gives it, and with which button.
struct Aim {
  gui::Place place;
  gui::MouseButton button;
  bool twice;  // a double click
};

Aim aimOf(const record::InputAction& a) {
  constexpr auto L = gui::MouseButton::Left, R = gui::MouseButton::Right;
  switch (a.kind) {
    case record::InputAction::Click:
      return {gui::Place::MessageArea, L, false};
    case record::InputAction::ClickPicture:
      return {gui::Place::PictureArea, L, false};
    case record::InputAction::RClick:
      return {gui::Place::PictureArea, R, false};
    case record::InputAction::Pick:
      return {gui::Place::MenuLabel, L, false};
    case record::InputAction::RPick:
      return {gui::Place::MenuLabel, R, false};
    case record::InputAction::Heading:
      return {gui::Place::MenuHeading, L, false};
    case record::InputAction::Chance:
      return {gui::Place::ChanceLabel, L, true};
    case record::InputAction::ClickAt:
      return {gui::Place::None, a.right ? R : L, false};
    case record::InputAction::DblClickAt:
      return {gui::Place::None, L, true};
    case record::InputAction::Close:
    case record::InputAction::KeyPress:
    case record::InputAction::Hold:
    case record::InputAction::Release:
    case record::InputAction::Wheel:
    case record::InputAction::Button:
    case record::InputAction::TwoFinger:
    case record::InputAction::SaveSlot:
    case record::InputAction::LoadSlot:
    case record::InputAction::Rewind:
    case record::InputAction::Reload:
      break;
  }
  return {gui::Place::None, L, false};
}

}  // namespace

/* A press and release is one mouse-down, one mouse-up and the click the window system
   derives; a double click adds a second press and release that completes it. */
void HeadlessBackend::expand(const record::InputAction& a) {
  auto keyInput = [&](gui::RawInput::Type type) {
    pending_.push_back(gui::RawInput::keyEvent(type, a.key));
  };
  switch (a.kind) {
    case record::InputAction::Close:
      pending_.push_back(gui::RawInput::close());
      return;
    case record::InputAction::KeyPress:
      keyInput(gui::RawInput::KeyDown);
      keyInput(gui::RawInput::KeyUp);
      return;
    case record::InputAction::Hold:
      return keyInput(gui::RawInput::KeyDown);
    case record::InputAction::Release:
      return keyInput(gui::RawInput::KeyUp);
    case record::InputAction::Wheel:
      pending_.push_back(gui::RawInput::wheel(a.notches));
      return;
    case record::InputAction::Button:
      pending_.push_back(gui::RawInput::gamepad(gui::RawInput::ButtonDown, a.key.name));
      pending_.push_back(gui::RawInput::gamepad(gui::RawInput::ButtonUp, a.key.name));
      return;
    case record::InputAction::TwoFinger:
      pending_.push_back(gui::RawInput::ask(gui::Comfort::PlayerMenu));
      return;
    case record::InputAction::SaveSlot:
    case record::InputAction::LoadSlot:
      pending_.push_back(gui::RawInput::ask(
          a.kind == record::InputAction::SaveSlot ? gui::Comfort::SaveSlot : gui::Comfort::LoadSlot,
          a.n));
      return;
    case record::InputAction::Rewind:
      pending_.push_back(gui::RawInput::ask(gui::Comfort::Rewind));
      return;
    case record::InputAction::Reload:
      pending_.push_back(gui::RawInput::ask(gui::Comfort::Reload));
      pending_.back().file = a.file;
      return;
    default:
      break;
  }
  const Aim aim = aimOf(a);
  auto add = [&](gui::RawInput::Type type, bool doubleClick) {
    gui::RawInput in = gui::RawInput::mouse(type, a.x, a.y, aim.button, doubleClick);
    in.place = aim.place, in.index = a.n;
    pending_.push_back(in);
  };
  add(gui::RawInput::Press, false);
  add(gui::RawInput::Release, false);
  if (aim.twice) {
    add(gui::RawInput::Press, true);
    add(gui::RawInput::Release, false);
  }
}

std::optional<gui::RawInput> HeadlessBackend::nextInput() {
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
  gui::RawInput in = pending_.front();
  pending_.pop_front();
  return in;
}

void HeadlessBackend::wait(gui::Wait why, std::optional<uint32_t> deadline) {
  switch (why) {
    case gui::Wait::Input:
    case gui::Wait::Poll:
    case gui::Wait::Idle:
      return idle(deadline);
    case gui::Wait::Time:
      if (deadline) sleepUntil(*deadline);
      return;
    case gui::Wait::Blocked:
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
  if (timed_.empty()) throw engine::GameEnd(engine::kExitNoInput, engine::EndReason::Input);
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

int HeadlessBackend::ask(const gui::MessageBox& box) {
  std::cerr << platform::lineBreaksAsNewlines(box.text) << std::endl;
  return -1;
}

}  // namespace backends
