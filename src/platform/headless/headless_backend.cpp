#include "platform/headless/headless_backend.h"

#include <iostream>

#include "platform/form.h"
#include "platform/program_exit.h"
#include "platform/text_codec.h"

namespace platform {

HeadlessBackend::HeadlessBackend(std::vector<InputAction> actions, long maxSteps)
    : maxSteps_(maxSteps) {
  for (const InputAction& a : actions) (a.at ? timed_ : untimed_).push_back(a);
}

namespace {

struct Point {
  int x, y;
};

Point centreOf(Form& form, const std::string& name) {
  Control* c = form.find(name);
  if (!c) return {0, 0};
  Rect r = c->screenRect();
  return {r.x + r.w / 2, r.y + r.h / 2};
}

Point inPicture(Form& form) {
  Control* c = form.find("Picture1");
  Rect r = c ? c->screenRect() : Rect{};
  return {r.x + 20, r.y + 20};
}

}  // namespace

/* A press and release is one mouse-down, one mouse-up and the click the window system
   derives; a double click adds a second press and release that completes it. */
void HeadlessBackend::expand(const InputAction& a) {
  if (a.kind == InputAction::Close) {
    pending_.push_back({RawInput::Close});
    return;
  }
  Point p{a.x, a.y};
  int button = 1;
  bool twice = false;
  switch (a.kind) {
    case InputAction::Click:
      p = centreOf(*form_, "MES");
      break;
    case InputAction::ClickPicture:
      p = inPicture(*form_);
      break;
    case InputAction::RClick:
      p = inPicture(*form_), button = 2;
      break;
    case InputAction::Pick:
    case InputAction::RPick:
      p = centreOf(*form_, "Label1(" + std::to_string(a.n) + ")");
      button = a.kind == InputAction::RPick ? 2 : 1;
      break;
    case InputAction::Heading:
      p = centreOf(*form_, "LBcm");
      break;
    case InputAction::Chance:
      p = centreOf(*form_, "Label2"), twice = true;
      break;
    case InputAction::ClickAt:
      button = a.right ? 2 : 1;
      break;
    case InputAction::DblClickAt:
      twice = true;
      break;
    case InputAction::Close:
      break;
  }
  pending_.push_back({RawInput::Press, p.x, p.y, button, false});
  pending_.push_back({RawInput::Release, p.x, p.y, button, false});
  if (twice) {
    pending_.push_back({RawInput::Press, p.x, p.y, button, true});
    pending_.push_back({RawInput::Release, p.x, p.y, button, false});
  }
}

std::optional<RawInput> HeadlessBackend::nextInput() {
  if (pending_.empty() && form_) {
    if (!timed_.empty() && static_cast<int32_t>(clock_ - *timed_.front().at) >= 0) {
      expand(timed_.front());
      timed_.pop_front();
      passes_ = 0;
    } else if (granted_ && !untimed_.empty()) {
      expand(untimed_.front());
      untimed_.pop_front();
      granted_ = false;
      passes_ = 0;
    }
  }
  if (pending_.empty()) return std::nullopt;
  RawInput in = pending_.front();
  pending_.pop_front();
  return in;
}

void HeadlessBackend::moveClockTo(uint32_t t) {
  if (static_cast<int32_t>(t - clock_) > 0) clock_ = t;
}

/* Idle: the next untimed action is delivered at the next processing of events; with none
   left the clock jumps to the next timed action, stopping at timer ticks on the way; with
   nothing left at all the run is over. */
void HeadlessBackend::waitIdle(std::optional<uint32_t> deadline) {
  passes_ = 0;
  if (!pending_.empty()) return;
  if (!untimed_.empty()) {
    granted_ = true;
    return;
  }
  if (timed_.empty()) throw ProgramExit{3, "input"};
  uint32_t t = *timed_.front().at;
  if (deadline && static_cast<int32_t>(*deadline - t) < 0) t = *deadline;
  moveClockTo(t);
}

void HeadlessBackend::waitUntil(uint32_t deadline) {
  if (!pending_.empty()) return;
  if (!timed_.empty() && static_cast<int32_t>(*timed_.front().at - deadline) < 0)
    deadline = *timed_.front().at;
  moveClockTo(deadline);
}

void HeadlessBackend::loopPass(Form& form) {
  if (++steps_ >= maxSteps_) throw ProgramExit{3, "limit"};
  if (++passes_ < kPollPasses) return;
  form.beginWait(WaitKind::Poll);
  form.idle();
}

void HeadlessBackend::showError(const std::string&, const std::string& textUtf8) {
  std::string text = lineBreaksAsNewlines(textUtf8);
  std::cerr << text << std::endl;
}

}  // namespace platform
