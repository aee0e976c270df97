#include "platform/form.h"

namespace platform {

Form::Form(Backend& backend, int width, int height) : backend_(backend), frame_(width, height) {}

Label& Form::addLabel(std::string name, Control* parent, Rect rect, FontSpec font) {
  controls_.push_back(std::make_unique<Label>(*this, std::move(name), parent, rect, font));
  return static_cast<Label&>(*controls_.back());
}

PictureBox& Form::addPictureBox(std::string name, Control* parent, Rect rect, bool sunkenBorder) {
  controls_.push_back(
      std::make_unique<PictureBox>(*this, std::move(name), parent, rect, sunkenBorder));
  return static_cast<PictureBox&>(*controls_.back());
}

Timer& Form::addTimer(int intervalMs) {
  timers_.push_back(std::make_unique<Timer>(*this, intervalMs));
  return *timers_.back();
}

Control* Form::find(const std::string& name) const {
  for (const auto& c : controls_)
    if (c->name() == name) return c.get();
  return nullptr;
}

void Form::show() {
  if (shown_) return;
  shown_ = true;
  backend_.showWindow(caption_);
  invalidate();
  presentIfDirty();
}

void Form::setCursor(Cursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  backend_.setCursor(c);
}

void Form::doEvents() {
  while (auto in = backend_.nextInput()) dispatch(*in);
  uint32_t now = backend_.ticks();
  for (auto& t : timers_) t->tick(now);
  presentIfDirty();
}

void Form::beginWait(WaitKind kind) {
  if (onWait) onWait(kind);
}

std::optional<uint32_t> Form::nextTimerDue() const {
  std::optional<uint32_t> due;
  for (const auto& t : timers_) {
    if (!t->enabled()) continue;
    if (!due || static_cast<int32_t>(t->due() - *due) < 0) due = t->due();
  }
  return due;
}

void Form::idle() {
  presentIfDirty();
  backend_.waitIdle(nextTimerDue());
}

void Form::sleepUntil(uint32_t tick) {
  presentIfDirty();
  auto due = nextTimerDue();
  if (due && static_cast<int32_t>(*due - tick) < 0) tick = *due;
  backend_.waitUntil(tick);
}

/* Hidden and disabled controls take no mouse events: a press on one reaches whatever
   lies beneath it. Later controls lie above earlier ones, children above their parent. */
Control* Form::hitTest(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    Control* c = it->get();
    if (c->screenRect().contains(x, y) && c->receivesMouse()) return c;
  }
  return nullptr;
}

void Form::dispatch(const RawInput& in) {
  if (in.type == RawInput::Close) {
    if (onClose) onClose();
    return;
  }
  if (in.type == RawInput::Press) {
    if (capture_) return;  // a second button while one is held goes to the same control
    Control* target = hitTest(in.x, in.y);
    bool isDouble = in.doubleClick && target && target == lastPressed_;
    lastPressed_ = target;
    if (!target) return;
    capture_ = target;
    captureButton_ = in.button;
    captureIsDouble_ = isDouble;
    Rect r = target->screenRect();
    MouseArgs args{in.button, 0, in.x - r.x, in.y - r.y};
    // The second press of a double click is the double-click event, not a mouse-down.
    if (isDouble) {
      if (target->onDblClick) target->onDblClick();
    } else if (target->onMouseDown) {
      target->onMouseDown(args);
    }
    return;
  }
  if (!capture_ || in.button != captureButton_) return;
  Control* target = capture_;
  bool wasDouble = captureIsDouble_;
  capture_ = nullptr;
  Rect r = target->screenRect();
  MouseArgs args{in.button, 0, in.x - r.x, in.y - r.y};
  if (target->onMouseUp) target->onMouseUp(args);
  if (!wasDouble && r.contains(in.x, in.y) && target->receivesMouse() && target->onClick)
    target->onClick();
}

void Form::renderTree(Control* parent) {
  for (const auto& c : controls_) {
    if (c->parent() != parent || !c->visible()) continue;
    c->render(frame_);
    renderTree(c.get());
  }
}

const Image& Form::frame() {
  if (dirty_ || !composed_) {
    frame_.fill(frame_.bounds(), back_);
    renderTree(nullptr);
    dirty_ = false;
    composed_ = true;
  }
  return frame_;
}

void Form::presentIfDirty() {
  if (!shown_ || (!dirty_ && composed_)) return;
  backend_.present(frame());
}

}  // namespace platform
