#pragma once
// The controls of the toolkit: labels, picture boxes and timers, with the properties and
// events the title's window system gave them. Setters that change nothing request no
// repaint; the others only mark the form for repainting.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/font.h"
#include "platform/image.h"

namespace platform {

class Form;

struct MouseArgs {
  int button = 1;  // 1 left, 2 right, 4 middle
  int shift = 0;
  int x = 0, y = 0;  // relative to the control, in pixels
};

class Control {
 public:
  Control(Form& form, std::string name, Control* parent, Rect rect);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  Control* parent() const { return parent_; }
  Rect rect() const { return rect_; }
  // The rectangle in client-area pixels.
  Rect screenRect() const;

  bool visible() const { return visible_; }
  void setVisible(bool v);
  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  // Whether the control receives mouse events: it and its parents are visible and enabled.
  bool receivesMouse() const;
  Color backColor() const { return back_; }
  void setBackColor(Color c);
  Color foreColor() const { return fore_; }
  void setForeColor(Color c);

  virtual void render(Image& frame) = 0;

  std::function<void(const MouseArgs&)> onMouseDown, onMouseUp;
  std::function<void()> onClick, onDblClick;

 protected:
  void invalidate();
  Form& form_;

 private:
  std::string name_;
  Control* parent_;
  Rect rect_;
  bool visible_ = true, enabled_ = true;
  Color back_ = rgb(255, 255, 255), fore_ = rgb(0, 0, 0);
};

class Label : public Control {
 public:
  Label(Form& form, std::string name, Control* parent, Rect rect, FontSpec font);
  const std::u32string& caption() const { return caption_; }
  void setCaption(std::u32string text);
  void render(Image& frame) override;

 private:
  std::u32string caption_;
  std::shared_ptr<Font> font_;
};

enum class ScaleMode { Twips, Points, Pixels };

/* A picture box keeps what was drawn on it (text, lines, painted pictures) in a canvas
   of its inner size, over its background and its picture; clearing erases the drawing
   and leaves the picture. */
class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, Control* parent, Rect rect, bool sunkenBorder);

  void setScaleMode(ScaleMode m) { scale_ = m; }
  double innerWidth() const;
  double innerHeight() const;
  int innerPixelWidth() const { return canvas_.width(); }
  int innerPixelHeight() const { return canvas_.height(); }

  // The picture drawn unscaled from the top-left corner; drawing over the old one is gone.
  void setPicture(std::optional<Image> picture);
  const std::optional<Image>& picture() const { return picture_; }
  void cls();

  void setFont(const FontSpec& spec);
  void setFontSize(double points);
  double fontSize() const { return font_ ? font_->points() : 0; }
  Font* font() const { return font_.get(); }
  void print(std::u32string_view text);
  void newLine();
  int currentX() const { return curX_; }
  int currentY() const { return curY_; }

  void line(int x1, int y1, int x2, int y2, Color c);
  void paintPicture(const Image& src, int dx, int dy, int w, int h, int sx, int sy, RasterOp op);
  const Image& canvas() const { return canvas_; }
  void setBackColor(Color c);

  void render(Image& frame) override;

 private:
  void redrawBackground();
  bool border_;
  ScaleMode scale_ = ScaleMode::Twips;
  std::optional<Image> picture_;
  Image canvas_;
  FontSpec fontSpec_;
  std::shared_ptr<Font> font_;
  int curX_ = 0, curY_ = 0;
};

class Timer {
 public:
  explicit Timer(Form& form, int intervalMs) : form_(form), interval_(intervalMs) {}
  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  int interval() const { return interval_; }
  uint32_t due() const { return due_; }
  // Runs the handler when due; the next tick is one interval later.
  void tick(uint32_t now);
  std::function<void()> onTimer;

 private:
  Form& form_;
  int interval_;
  bool enabled_ = false;
  uint32_t due_ = 0;
};

}  // namespace platform
