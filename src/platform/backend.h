#pragma once
// The whole platform behind eight functions: a tick counter, raw input, one blocking wait,
// presenting the frame, the window's title and pointer, a message box and the sound
// services. The SDL backend is a real window; the headless backend a virtual clock and
// an input file.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/image.h"

namespace platform {

class Mixer;

// Mouse buttons, with the values the window system gives them in its button masks.
enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

enum class Cursor { Default, Custom };

// A place of the window named by what it is, not where it is: input aimed at a place
// lands on the control the form has registered for it.
enum class Place { None, MessageArea, PictureArea, MenuLabel, MenuHeading, ChanceLabel };

struct RawInput {
  enum Type { Press, Release, Close } type = Press;
  int x = 0, y = 0;  // client position, unless `place` names one
  MouseButton button = MouseButton::Left;
  bool doubleClick = false;  // a press that completes a double click
  Place place = Place::None;
  int index = 0;  // which MenuLabel
};

// Why the engine blocks, which decides what ends the wait.
enum class Wait {
  Input,    // for the user: until input, or the deadline (the next timer tick) if any
  Poll,     // the script polls in a loop: a short rest, or input
  Time,     // a timed wait: until the deadline, or input
  Blocked,  // the thread is held (a synchronous sound): until the deadline; input waits
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Milliseconds, wrapping at 2^32 like the system's tick counter.
  virtual uint32_t ticks() = 0;
  // The next pending input, if any; never waits.
  virtual std::optional<RawInput> nextInput() = 0;
  // Blocks for the reason given, never past the deadline.
  virtual void wait(Wait why, std::optional<uint32_t> deadline) = 0;
  // Shows the frame; the first call shows the window.
  virtual void present(const Image& frame) = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setCursor(Cursor cursor) = 0;
  // A modal box with the stop icon and one OK button; lines are separated by CR or CR LF.
  virtual void showError(const std::string& title, const std::string& textUtf8) = 0;
  // A real device in a window, a silent one on the virtual clock in a headless run.
  virtual Mixer& mixer() = 0;
  // Whether presented frames are seen at all; a backend that shows nothing spares the
  // form composing them.
  virtual bool showsFrames() const { return true; }
};

}  // namespace platform
