#pragma once
// A backend for unit tests: a clock the test sets, inputs the test queues, and a count
// of how often events were asked for.
#include <deque>

#include "platform/backend.h"
#include "platform/silent_mixer.h"

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
  // Every wait lasts until its deadline.
  void wait(platform::Wait, std::optional<uint32_t> deadline) override {
    if (deadline) now = *deadline;
  }
  void present(platform::FrameSource&) override { ++presents; }
  void setTitle(const std::string&) override {}
  void setCursor(platform::Cursor) override {}
  int ask(const platform::MessageBox&) override { return -1; }
  platform::Mixer& mixer() override { return mixer_; }
  platform::SilentMixer mixer_{[this] { return now; }};

  void press(platform::RawInput::Type type, int x, int y,
             platform::MouseButton button = platform::MouseButton::Left, bool twice = false) {
    inputs.push_back(platform::RawInput::mouse(type, x, y, button, twice));
  }
  void click(int x, int y, platform::MouseButton button = platform::MouseButton::Left) {
    press(platform::RawInput::Press, x, y, button);
    press(platform::RawInput::Release, x, y, button);
  }
  void doubleClick(int x, int y) {
    click(x, y);
    press(platform::RawInput::Press, x, y, platform::MouseButton::Left, true);
    press(platform::RawInput::Release, x, y);
  }
};

}  // namespace testing_support
