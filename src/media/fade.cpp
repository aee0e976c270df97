#include "media/fade.h"

namespace media {
namespace {

constexpr int kBlindPasses = 5;
constexpr int kBlindSpacing = 5;
constexpr int16_t kBlindPause = 100;
constexpr int kFlashes = 6;
constexpr int16_t kFlashPause = 50;

}  // namespace

/* The effects draw over what the area shows and never touch its picture, so clearing the
   area brings the picture back. */
void Fade::FADE(int16_t mode) {
  recorder_.record("fade", {{"mode", mode}});
  if (mode == 1) blinds();
  if (mode == 2) flash();
}

/* Blinds to black: five passes of lines five rows apart, each pass one row lower, so
   after pass p the rows whose number modulo 5 is at most p are black. */
void Fade::blinds() {
  const int width = area_.canvas().width(), height = area_.canvas().height();
  for (int p = 0; p < kBlindPasses; ++p) {
    for (int j = 0; j < height; j += kBlindSpacing)
      area_.line(0, p + j, width - 1, p + j, formats::rgb(0, 0, 0));
    wait_(kBlindPause);
  }
}

/* Negative flash: an even number of inversions of the loaded picture's rectangle, so the
   area ends as it began, whatever was drawn over the picture. With no picture loaded the
   rectangle is empty and only the pauses remain. */
void Fade::flash() {
  const auto& picture = area_.picture();
  const int width = picture ? picture->width() : 0;
  const int height = picture ? picture->height() : 0;
  for (int i = 0; i < kFlashes; ++i) {
    if (width > 0 && height > 0)
      area_.paintPicture(*picture, 0, 0, width, height, 0, 0, formats::RasterOp::DstInvert);
    wait_(kFlashPause);
  }
}

}  // namespace media
