#pragma once
// A backend for unit tests: a clock the test sets, inputs the test queues, and a count
// of how often events were asked for.
#include <deque>

#include "gui/backend.h"
#include "gui/silent_mixer.h"

namespace testing_support {

struct FakeBackend : gui::Backend {
  uint32_t now = 0;
  std::deque<gui::RawInput> inputs;
  int polls = 0;
  int presents = 0;

  uint32_t ticks() override { return now; }
  std::optional<gui::RawInput> nextInput() override {
    ++polls;
    if (inputs.empty()) return std::nullopt;
    auto in = inputs.front();
    inputs.pop_front();
    return in;
  }
  // Every wait lasts until its deadline.
  void wait(gui::Wait, std::optional<uint32_t> deadline) override {
    if (deadline) now = *deadline;
  }
  void present(gui::FrameSource&) override { ++presents; }
  void setTitle(const std::string&) override {}
  void setCursor(gui::Cursor) override {}
  int ask(const gui::MessageBox&) override { return -1; }
  gui::Mixer& mixer() override { return mixer_; }
  gui::SilentMixer mixer_{[this] { return now; }};

  void press(gui::RawInput::Type type, int x, int y,
             gui::MouseButton button = gui::MouseButton::Left, bool twice = false) {
    inputs.push_back(gui::RawInput::mouse(type, x, y, button, twice));
  }
  void click(int x, int y, gui::MouseButton button = gui::MouseButton::Left) {
    press(gui::RawInput::Press, x, y, button);
    press(gui::RawInput::Release, x, y, button);
  }
  void doubleClick(int x, int y) {
    click(x, y);
    press(gui::RawInput::Press, x, y, gui::MouseButton::Left, true);
    press(gui::RawInput::Release, x, y);
  }
};

}  // namespace testing_support
