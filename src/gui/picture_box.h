#pragma once
// A picture box keeps what was drawn on it (text, lines, painted pictures) in a canvas of
// its inner size, over its background and its picture; clearing erases the drawing and
// leaves the picture. On a form that does not draw there is no canvas and no picture, and
// only where printing goes on is kept.
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "gui/control.h"
#include "gui/font.h"

namespace gui {

// The unit of a picture box's inner size.
enum class ScaleMode { Twips, Points, Pixels };

class PictureBox : public Control {
 public:
  PictureBox(Form& form, Control* parent, formats::Rect rect, bool sunkenBorder);

  void setScaleMode(ScaleMode m) { scale_ = m; }
  double innerWidth() const;
  double innerHeight() const;

  // Whether it keeps pixels at all (its form draws).
  bool drawn() const;
  // The picture drawn unscaled from the top-left corner; drawing over the old one is gone.
  void setPicture(std::optional<formats::Image> picture);
  const std::optional<formats::Image>& picture() const { return picture_; }
  void cls();

  void setFont(const FontSpec& spec);
  void setFontSize(double points);
  double fontSize() const { return font_ ? font_->points() : 0; }
  Font* font() const { return font_.get(); }
  void print(std::u32string_view text);
  void newLine();
  int currentX() const { return curX_; }

  void line(int x1, int y1, int x2, int y2, formats::Color c);
  void paintPicture(const formats::Image& src, int dx, int dy, int w, int h, int sx, int sy,
                    formats::RasterOp op);
  const formats::Image& canvas() const { return canvas_; }

  // A picture to come (a saved game being replayed, which decodes only the picture it
  // ends with): the old picture and drawing are gone, and what is drawn meanwhile is kept
  // as a list and drawn over the picture when it is given to resolvePicture.
  void setPendingPicture();
  bool picturePending() const { return pending_; }
  void resolvePicture(formats::Image picture);

  // What was drawn, where printing goes on and in which colour, to be put back later.
  struct Drawing {
    formats::Image canvas;
    int x = 0, y = 0;
    formats::Color fore = 0;
  };
  Drawing drawing() const { return {canvas_, curX_, curY_, foreColor()}; }
  void restore(const Drawing& d);

  void render(formats::Image& frame) override;

 private:
  void backColorChanged() override { redrawBackground(); }
  void redrawBackground();
  double inUnits(int pixels) const;

  // Drawing kept while a picture is pending.
  struct Deferred {
    bool isLine;
    int x1, y1, x2, y2;  // the line, or dx, dy, w, h of the painting
    int sx, sy;
    formats::Color color;
    formats::RasterOp op;
    formats::Image source;
  };

  bool border_;
  formats::Point inner_;  // the inner size in pixels, which the canvas has when drawn
  ScaleMode scale_ = ScaleMode::Twips;
  std::optional<formats::Image> picture_;
  formats::Image canvas_;
  FontSpec fontSpec_;
  std::shared_ptr<Font> font_;
  int curX_ = 0, curY_ = 0;
  bool pending_ = false;
  std::vector<Deferred> deferred_;
};

}  // namespace gui
