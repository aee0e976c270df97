#pragma once
// A control of the form: a rectangle inside its parent with the properties and events the
// title's window system gave every control. Setters that change nothing request no
// repaint; the others only mark the form for repainting.
#include <functional>

#include "formats/image.h"
#include "gui/backend.h"

namespace gui {

class Form;

struct MouseArgs {
  MouseButton button = MouseButton::Left;
  int x = 0, y = 0;  // relative to the control, in pixels
};

class Control {
 public:
  Control(Form& form, Control* parent, formats::Rect rect);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Control* parent() const { return parent_; }
  // The rectangle in client-area pixels.
  formats::Rect screenRect() const;

  bool visible() const { return visible_; }
  void setVisible(bool v);
  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  // Whether the control receives mouse events: it and its parents are visible and enabled.
  bool receivesMouse() const;
  formats::Color backColor() const { return back_; }
  void setBackColor(formats::Color c);
  formats::Color foreColor() const { return fore_; }
  void setForeColor(formats::Color c);

  virtual void render(formats::Image& frame) = 0;

  std::function<void(const MouseArgs&)> onMouseDown, onMouseUp;
  std::function<void()> onClick, onDblClick;

 protected:
  void invalidate();
  // The back colour has changed; a control that paints its background redraws it.
  virtual void backColorChanged() {}
  Form& form_;

 private:
  Control* parent_;
  formats::Rect rect_;
  bool visible_ = true, enabled_ = true;
  formats::Color back_ = formats::rgb(255, 255, 255), fore_ = formats::rgb(0, 0, 0);
};

}  // namespace gui
