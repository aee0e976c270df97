#pragma once
// A timer of the form: while enabled, its handler runs once per interval, at the first
// processing of events at or after each due time.
#include <cstdint>
#include <functional>
#include <optional>

namespace gui {

class Form;

class Timer {
 public:
  Timer(Form& form, int intervalMs) : form_(form), interval_(intervalMs) {}
  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  // Takes effect at the next enabling.
  void setInterval(int ms) { interval_ = ms; }
  uint32_t due() const { return due_; }
  // Whether the thread must wake for its ticks. A timer whose handler can have no effect
  // for now needs not: its ticks keep their times and run at the next processing of
  // events. A window only; a virtual clock stops at every tick as before.
  bool wakes() const { return wakes_; }
  void setWakes(bool w) { wakes_ = w; }
  // When given, the tick before which the handler can have no effect (nullopt: it may have
  // at any tick). A window sleeps past the ticks before it, which keep their times.
  std::function<std::optional<uint32_t>()> idleUntil;
  // The tick a window must wake for: the first tick at or after idleUntil's.
  uint32_t wakeAt() const;
  // Runs the handler when due; the next tick is one interval later.
  void tick(uint32_t now);
  // The clock jumped by `delta`: the next tick stays as far away as it was.
  void rebase(int32_t delta) { due_ += static_cast<uint32_t>(delta); }
  std::function<void()> onTimer;

 private:
  Form& form_;
  int interval_;
  bool enabled_ = false, wakes_ = true;
  uint32_t due_ = 0;
};

}  // namespace gui
