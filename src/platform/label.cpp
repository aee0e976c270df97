#include "platform/label.h"

namespace platform {

Label::Label(Form& form, Control* parent, Rect rect, FontSpec font)
    : Control(form, parent, rect), font_(Font::get(font)) {}

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

}  // namespace platform
