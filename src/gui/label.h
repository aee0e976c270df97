#pragma once
// A label: a caption in one font over its back colour.
#include <memory>
#include <string>

#include "gui/control.h"
#include "gui/font.h"

namespace gui {

class Label : public Control {
 public:
  Label(Form& form, Control* parent, formats::Rect rect, FontSpec font);
  const std::u32string& caption() const { return caption_; }
  void setCaption(std::u32string text);
  // The keyboard focus mark: a white frame with a black one inside, clear on any colour.
  void setFocusMark(bool on);
  void render(formats::Image& frame) override;

 private:
  std::u32string caption_;
  bool focusMark_ = false;
  std::shared_ptr<Font> font_;
};

}  // namespace gui
