#pragma once
// What a backend gives the toolkit: a tick counter, raw mouse input, a way to sleep until
// something happens, a place to present the frame, a pointer and a message box.
// The SDL backend is a real window; the headless backend a virtual clock and a file.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/image.h"

namespace platform {

class Form;
class Mixer;

enum class Cursor { Default, Custom };
enum class WaitKind { Click, Menu, Poll, End };

struct RawInput {
  enum Type { Press, Release, Close } type = Press;
  int x = 0, y = 0;
  int button = 1;            // 1 left, 2 right, 4 middle
  bool doubleClick = false;  // a press that completes a double click
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Milliseconds, wrapping at 2^32 like the system's tick counter.
  virtual uint32_t ticks() = 0;
  // The next pending input, if any; never waits.
  virtual std::optional<RawInput> nextInput() = 0;
  // The engine waits for the user: block until input may be pending, or until the
  // deadline (the next timer tick) when there is one.
  virtual void waitIdle(std::optional<uint32_t> deadline) = 0;
  // A timed wait: block until the deadline or until input may be pending.
  virtual void waitUntil(uint32_t deadline) = 0;
  // Called once per pass of the interpreter loop.
  virtual void loopPass(Form&) {}
  virtual void showWindow(const std::string& /*caption*/) {}
  virtual void present(const Image& frame) = 0;
  virtual void setCursor(Cursor) {}
  // A modal box with the stop icon and one OK button; lines are separated by CR or CR LF.
  virtual void showError(const std::string& title, const std::string& textUtf8) = 0;
  // The sound services: a real device in a window, a silent one on the virtual clock
  // in a headless run.
  virtual Mixer& mixer() = 0;
  // Blocks the thread, with all input, for a while (a synchronous sound).
  virtual void block(uint32_t ms) = 0;
  virtual bool headless() const { return false; }
};

}  // namespace platform
