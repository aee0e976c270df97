#include "gui/control.h"

#include "gui/form.h"

namespace gui {

Control::Control(Form& form, Control* parent, formats::Rect rect)
    : form_(form), parent_(parent), rect_(rect) {}

formats::Rect Control::screenRect() const {
  formats::Rect r = rect_;
  for (const Control* p = parent_; p; p = p->parent_) r.x += p->rect_.x, r.y += p->rect_.y;
  return r;
}

void Control::invalidate() { form_.invalidate(*this); }

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

void Control::setBackColor(formats::Color c) {
  if (c == back_) return;
  back_ = c;
  backColorChanged();
  invalidate();
}

void Control::setForeColor(formats::Color c) {
  if (c == fore_) return;
  fore_ = c;
  invalidate();
}

}  // namespace gui
