#pragma once
// A backend for unit tests: a clock the test sets, inputs the test queues, and a count
// of how often events were asked for.
#include <deque>

#include "platform/backend.h"
#include "platform/headless/virtual_mixer.h"

namespace testing_support {

struct FakeBackend : platform::Backend {
  uint32_t now = 0;
  std::deque<platform::RawInput> inputs;
  int polls = 0;
  int presents = 0;

  uint32_t ticks() override { return now; }
  std::optional<platform::RawInput> nextInput() override {
    ++polls;
    if (inputs.empty()) return std::nullopt;
    auto in = inputs.front();
    inputs.pop_front();
    return in;
  }
  void waitIdle(std::optional<uint32_t> deadline) override {
    if (deadline) now = *deadline;
  }
  void waitUntil(uint32_t deadline) override { now = deadline; }
  void present(const platform::Image&) override { ++presents; }
  void showError(const std::string&, const std::string&) override {}
  platform::Mixer& mixer() override { return mixer_; }
  void block(uint32_t ms) override { now += ms; }
  platform::VirtualMixer mixer_{[this] { return now; }};

  void click(int x, int y, int button = 1) {
    inputs.push_back({platform::RawInput::Press, x, y, button, false});
    inputs.push_back({platform::RawInput::Release, x, y, button, false});
  }
  void doubleClick(int x, int y) {
    click(x, y);
    inputs.push_back({platform::RawInput::Press, x, y, 1, true});
    inputs.push_back({platform::RawInput::Release, x, y, 1, false});
  }
};

}  // namespace testing_support
