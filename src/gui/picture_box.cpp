#include "gui/picture_box.h"

#include "gui/form.h"

namespace gui {
namespace {
constexpr int kBorder = 2;
}

PictureBox::PictureBox(Form& form, Control* parent, formats::Rect rect, bool sunkenBorder)
    : Control(form, parent, rect), border_(sunkenBorder) {
  const int b = border_ ? 2 * kBorder : 0;
  inner_ = {rect.w - b, rect.h - b};
  if (form.drawing()) canvas_ = formats::Image(inner_.x, inner_.y, backColor());
}

// A pixel is 15 twips and three quarters of a point at 96 dots per inch.
double PictureBox::inUnits(int pixels) const {
  switch (scale_) {
    case ScaleMode::Pixels:
      return pixels;
    case ScaleMode::Points:
      return pixels * 0.75;
    case ScaleMode::Twips:
      break;
  }
  return pixels * 15.0;
}

double PictureBox::innerWidth() const { return inUnits(inner_.x); }

double PictureBox::innerHeight() const { return inUnits(inner_.y); }

void PictureBox::redrawBackground() {
  if (!form_.drawing()) return;
  canvas_.fill(canvas_.bounds(), backColor());
  if (picture_) canvas_.blit(*picture_, 0, 0, canvas_.bounds());
  invalidate();
}

bool PictureBox::drawn() const { return form_.drawing(); }

void PictureBox::setPicture(std::optional<formats::Image> picture) {
  if (!form_.drawing()) picture.reset();  // no pixels at all
  picture_ = std::move(picture);
  pending_ = false;
  deferred_.clear();
  redrawBackground();
}

void PictureBox::cls() {
  redrawBackground();
  deferred_.clear();
  curX_ = curY_ = 0;
}

void PictureBox::setPendingPicture() {
  setPicture(std::nullopt);
  pending_ = true;
}

void PictureBox::resolvePicture(formats::Image picture) {
  std::vector<Deferred> drawing = std::move(deferred_);
  setPicture(std::move(picture));
  for (const Deferred& d : drawing) {
    if (d.isLine) {
      line(d.x1, d.y1, d.x2, d.y2, d.color);
    } else {
      paintPicture(d.source, d.x1, d.y1, d.x2, d.y2, d.sx, d.sy, d.op);
    }
  }
}

void PictureBox::setFont(const FontSpec& spec) {
  fontSpec_ = spec;
  font_ = Font::get(spec);
}

void PictureBox::setFontSize(double points) {
  fontSpec_.points = points;
  font_ = Font::get(fontSpec_);
}

void PictureBox::print(std::u32string_view text) {
  if (!font_ || text.empty()) return;
  if (!form_.drawing()) {
    curX_ += font_->measure(text);
    return;
  }
  curX_ += font_->draw(canvas_, curX_, curY_, text, foreColor(), canvas_.bounds());
  invalidate();
}

void PictureBox::restore(const Drawing& d) {
  canvas_ = d.canvas;
  curX_ = d.x;
  curY_ = d.y;
  setForeColor(d.fore);
  invalidate();
}

void PictureBox::newLine() {
  curX_ = 0;
  curY_ += font_ ? font_->height() : 0;
}

void PictureBox::line(int x1, int y1, int x2, int y2, formats::Color c) {
  if (!form_.drawing()) return;
  if (pending_)
    return deferred_.push_back({true, x1, y1, x2, y2, 0, 0, c, formats::RasterOp::Copy, {}});
  canvas_.line(x1, y1, x2, y2, c);
  invalidate();
}

void PictureBox::paintPicture(const formats::Image& src, int dx, int dy, int w, int h, int sx,
                              int sy, formats::RasterOp op) {
  if (!form_.drawing()) return;
  if (pending_) {
    deferred_.push_back({false, dx, dy, w, h, sx, sy, 0, op,
                         op == formats::RasterOp::Copy ? src : formats::Image()});
    return;
  }
  canvas_.paint(src, dx, dy, w, h, sx, sy, op);
  invalidate();
}

void PictureBox::render(formats::Image& frame) {
  formats::Rect r = screenRect();
  if (border_) {
    // The classic sunken edge: dark grey and black above and left, white and light
    // grey below and right.
    frame.fill({r.x, r.y, r.w, 1}, formats::rgb(128, 128, 128));
    frame.fill({r.x, r.y, 1, r.h}, formats::rgb(128, 128, 128));
    frame.fill({r.x, r.y + r.h - 1, r.w, 1}, formats::rgb(255, 255, 255));
    frame.fill({r.x + r.w - 1, r.y, 1, r.h}, formats::rgb(255, 255, 255));
    frame.fill({r.x + 1, r.y + 1, r.w - 2, 1}, formats::rgb(0, 0, 0));
    frame.fill({r.x + 1, r.y + 1, 1, r.h - 2}, formats::rgb(0, 0, 0));
    frame.fill({r.x + 1, r.y + r.h - 2, r.w - 2, 1}, formats::rgb(192, 192, 192));
    frame.fill({r.x + r.w - 2, r.y + 1, 1, r.h - 2}, formats::rgb(192, 192, 192));
  }
  int b = border_ ? kBorder : 0;
  frame.blit(canvas_, r.x + b, r.y + b, r);
}

}  // namespace gui
