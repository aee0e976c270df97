#pragma once
// The backend of headless runs: a virtual clock that only waits advance, mouse actions
// from an input file delivered when the engine is idle or at their time, no window.
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "gui/backend.h"
#include "gui/silent_mixer.h"
#include "record/input_script.h"

namespace backends {

class HeadlessBackend : public gui::Backend {
 public:
  explicit HeadlessBackend(std::vector<record::InputAction> actions);

  uint32_t ticks() override { return static_cast<uint32_t>(clock_); }
  std::optional<gui::RawInput> nextInput() override;
  void wait(gui::Wait why, std::optional<uint32_t> deadline) override;
  void present(gui::FrameSource&) override {}
  void setTitle(const std::string&) override {}
  void setCursor(gui::Cursor) override {}
  // A box has no one to answer it: its text goes to standard error.
  int ask(const gui::MessageBox& box) override;
  gui::Mixer& mixer() override { return mixer_; }

  // Asked for the next action when the engine is idle and the input file has no action
  // left; nullopt ends the run as running out of input does.
  std::function<std::optional<record::InputAction>()> onIdle;

 private:
  void expand(const record::InputAction& a);
  void idle(std::optional<uint32_t> timerDue);
  void sleepUntil(uint32_t deadline);
  uint64_t ahead(uint32_t tick) const;
  void moveClockTo(uint64_t t);

  std::deque<record::InputAction> timed_, untimed_;
  std::deque<gui::RawInput> pending_;
  uint64_t clock_ = 0;  // virtual milliseconds since the start
  bool granted_ = false;
  gui::SilentMixer mixer_{[this] { return ticks(); }};
};

}  // namespace backends
