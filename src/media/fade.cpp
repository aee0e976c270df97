#include "media/fade.h"

#include "platform/control.h"
#include "ui/acs.h"

namespace media {
namespace {

constexpr int kWidth = 504, kHeight = 336;  // Picture1 in pixels
constexpr int kBlindPasses = 5;
constexpr int kBlindSpacing = 5;
constexpr int16_t kBlindPause = 100;
constexpr int kFlashes = 6;
constexpr int16_t kFlashPause = 50;

/* Blinds to black: five passes of lines five rows apart, each pass one row lower, so
   after pass p the rows whose number modulo 5 is at most p are black. */
void blinds(ui::Acs& w) {
  for (int p = 0; p < kBlindPasses; ++p) {
    for (int j = 0; j < kHeight; j += kBlindSpacing)
      w.Picture1->line(0, p + j, kWidth - 1, p + j, platform::rgb(0, 0, 0));
    w.TWAIT(kBlindPause);
  }
}

/* Negative flash: an even number of inversions of the loaded picture's rectangle, so the
   area ends as it began, whatever was drawn over the picture. With no picture loaded the
   rectangle is empty and only the pauses remain. */
void flash(ui::Acs& w) {
  const auto& picture = w.Picture1->picture();
  const int width = picture ? picture->width() : 0;
  const int height = picture ? picture->height() : 0;
  for (int i = 0; i < kFlashes; ++i) {
    if (width > 0 && height > 0)
      w.Picture1->paintPicture(*picture, 0, 0, width, height, 0, 0, platform::RasterOp::DstInvert);
    w.TWAIT(kFlashPause);
  }
}

}  // namespace

/* The effects draw over what Picture1 shows and never touch its picture, so clearing the
   area brings the picture back. */
void FADE(ui::Acs& window, int16_t mode) {
  if (window.tracing())
    window.writeTrace(window.traceEvent("fade").add("mode", static_cast<int>(mode)));
  if (mode == 1) blinds(window);
  if (mode == 2) flash(window);
}

}  // namespace media
