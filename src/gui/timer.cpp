#include "gui/timer.h"

#include "gui/form.h"

namespace gui {

void Timer::setEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  if (e) due_ = form_.ticks() + static_cast<uint32_t>(interval_);
}

uint32_t Timer::wakeAt() const {
  const std::optional<uint32_t> idle = idleUntil ? idleUntil() : std::nullopt;
  if (!idle || static_cast<int32_t>(*idle - due_) <= 0) return due_;
  const auto interval = static_cast<uint32_t>(interval_);
  return due_ + (*idle - due_ + interval - 1) / interval * interval;
}

void Timer::tick(uint32_t now) {
  if (!enabled_ || static_cast<int32_t>(now - due_) < 0) return;
  // Ticks missed while the thread was blocked are not made up: one tick, then the next
  // one interval after the last due time that has passed.
  while (static_cast<int32_t>(now - due_) >= 0) due_ += static_cast<uint32_t>(interval_);
  if (onTimer) onTimer();
}

}  // namespace gui
