#include "platform/control.h"

#include "platform/form.h"

namespace platform {

Control::Control(Form& form, std::string name, Control* parent, Rect rect)
    : form_(form), name_(std::move(name)), parent_(parent), rect_(rect) {}

Rect Control::screenRect() const {
  Rect r = rect_;
  for (const Control* p = parent_; p; p = p->parent_) r.x += p->rect_.x, r.y += p->rect_.y;
  return r;
}

void Control::invalidate() { form_.invalidate(); }

void Control::setVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  invalidate();
}

void Control::setEnabled(bool e) { enabled_ = e; }

bool Control::receivesMouse() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void Control::setBackColor(Color c) {
  if (c == back_) return;
  back_ = c;
  invalidate();
}

void Control::setForeColor(Color c) {
  if (c == fore_) return;
  fore_ = c;
  invalidate();
}

Label::Label(Form& form, std::string name, Control* parent, Rect rect, FontSpec font)
    : Control(form, std::move(name), parent, rect), font_(Font::get(font)) {}

void Label::setCaption(std::u32string text) {
  if (text == caption_) return;
  caption_ = std::move(text);
  invalidate();
}

void Label::render(Image& frame) {
  Rect r = screenRect();
  frame.fill(r, backColor());
  font_->draw(frame, r.x, r.y, caption_, foreColor(), r);
}

void Timer::setEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  if (e) due_ = form_.ticks() + static_cast<uint32_t>(interval_);
}

void Timer::tick(uint32_t now) {
  if (!enabled_ || static_cast<int32_t>(now - due_) < 0) return;
  // Ticks missed while the thread was blocked are not made up: one tick, then the next
  // one interval after the last due time that has passed.
  while (static_cast<int32_t>(now - due_) >= 0) due_ += static_cast<uint32_t>(interval_);
  if (onTimer) onTimer();
}

}  // namespace platform
