#include "media/timed_wait.h"

namespace media {

/* The elapsed time is an unsigned difference of two tick readings, so a wait across the
   counter's wrap is as long as any other. */
void TWAIT(gui::Form& form, int16_t ms) {
  form.markSite();
  const uint32_t start = form.ticks();
  auto elapsed = [&] { return static_cast<int64_t>(static_cast<uint32_t>(form.ticks() - start)); };
  while (elapsed() < ms) {
    form.doEvents();
    if (elapsed() >= ms) break;
    form.sleepUntil(start + static_cast<uint32_t>(ms));
  }
}

}  // namespace media
