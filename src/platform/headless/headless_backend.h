#pragma once
// The backend of headless runs: a virtual clock that only waits advance, mouse actions
// from an input file delivered when the engine is idle or at their time, no window.
#include <deque>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/input_script.h"
#include "platform/headless/virtual_mixer.h"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend(std::vector<InputAction> actions, long maxSteps);
  void attach(Form& form) { form_ = &form; }

  uint32_t ticks() override { return clock_; }
  std::optional<RawInput> nextInput() override;
  void waitIdle(std::optional<uint32_t> deadline) override;
  void waitUntil(uint32_t deadline) override;
  void loopPass(Form& form) override;
  void present(const Image&) override {}
  void showError(const std::string& title, const std::string& textUtf8) override;
  bool headless() const override { return true; }
  Mixer& mixer() override { return mixer_; }
  // A blocking operation moves the clock on; what falls due meanwhile waits for the
  // next processing of events.
  void block(uint32_t ms) override { clock_ += ms; }

  static constexpr long kPollPasses = 10000;

 private:
  void expand(const InputAction& a);
  void moveClockTo(uint32_t t);

  std::deque<InputAction> timed_, untimed_;
  std::deque<RawInput> pending_;
  Form* form_ = nullptr;
  uint32_t clock_ = 0;
  bool granted_ = false;
  long passes_ = 0, steps_ = 0, maxSteps_;
  VirtualMixer mixer_{[this] { return clock_; }};
};

}  // namespace platform
