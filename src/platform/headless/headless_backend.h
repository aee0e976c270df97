#pragma once
// The backend of headless runs: a virtual clock that only waits advance, mouse actions
// from an input file delivered when the engine is idle or at their time, no window.
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/input_script.h"
#include "platform/silent_mixer.h"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(std::vector<InputAction> actions);

  uint32_t ticks() override { return static_cast<uint32_t>(clock_); }
  std::optional<RawInput> nextInput() override;
  void wait(Wait why, std::optional<uint32_t> deadline) override;
  void present(FrameSource&) override {}
  void setTitle(const std::string&) override {}
  void setCursor(Cursor) override {}
  // A box has no one to answer it: its text goes to standard error.
  int ask(const MessageBox& box) override;
  Mixer& mixer() override { return mixer_; }

  // Asked for the next action when the engine is idle and the input file has no action
  // left; nullopt ends the run as running out of input does.
  std::function<std::optional<InputAction>()> onIdle;

 private:
  void expand(const InputAction& a);
  void idle(std::optional<uint32_t> timerDue);
  void sleepUntil(uint32_t deadline);
  uint64_t ahead(uint32_t tick) const;
  void moveClockTo(uint64_t t);

  std::deque<InputAction> timed_, untimed_;
  std::deque<RawInput> pending_;
  uint64_t clock_ = 0;  // virtual milliseconds since the start
  bool granted_ = false;
  SilentMixer mixer_{[this] { return ticks(); }};
};

}  // namespace platform
