#include "gui/label.h"

namespace gui {

Label::Label(Form& form, Control* parent, formats::Rect rect, FontSpec font)
    : Control(form, parent, rect), font_(Font::get(font)) {}

void Label::setCaption(std::u32string text) {
  if (text == caption_) return;
  caption_ = std::move(text);
  invalidate();
}

void Label::setFocusMark(bool on) {
  if (on == focusMark_) return;
  focusMark_ = on;
  invalidate();
}

void Label::render(formats::Image& frame) {
  formats::Rect r = screenRect();
  frame.fill(r, backColor());
  font_->draw(frame, r.x, r.y, caption_, foreColor(), r);
  if (focusMark_) {
    frame.frameRect(r, formats::rgb(255, 255, 255));
    frame.frameRect({r.x + 1, r.y + 1, r.w - 2, r.h - 2}, formats::rgb(0, 0, 0));
  }
}

}  // namespace gui
