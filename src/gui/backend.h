#pragma once
// The whole platform behind ten functions: a tick counter, raw input, one blocking wait,
// presenting the frame, the window's title and pointer, a message box, the sound
// services, full screen and watching the script file. The SDL backend is a real window;
// the headless backend a virtual clock and an input file.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/media_named.h"
#include "formats/image.h"

namespace gui {

class Mixer;

// Mouse buttons, with the values the window system gives them in its button masks.
enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

enum class Cursor { Default, Custom };

// A place of the window named by what it is, not where it is: input aimed at a place
// lands on the control the form has registered for it.
enum class Place { None, MessageArea, PictureArea, MenuLabel, MenuHeading, ChanceLabel };

// A key by its name as the window system names it ("Return", "Left Ctrl", "F11", "A",
// "1" ...), with the modifiers held.
struct Key {
  std::string name;
  bool ctrl = false, alt = false, shift = false;
  // The name with its modifiers, as the input file writes it: "Alt+Return".
  std::string fullName() const {
    return (ctrl ? "Ctrl+" : "") + std::string(alt ? "Alt+" : "") + (shift ? "Shift+" : "") + name;
  }
  // The key of such a name; the modifiers come first, in any order.
  static Key fromFullName(std::string_view text) {
    Key key;
    for (;;) {
      if (text.starts_with("Ctrl+") && text.size() > 5) {
        key.ctrl = true, text.remove_prefix(5);
      } else if (text.starts_with("Alt+") && text.size() > 4) {
        key.alt = true, text.remove_prefix(4);
      } else if (text.starts_with("Shift+") && text.size() > 6) {
        key.shift = true, text.remove_prefix(6);
      } else {
        break;
      }
    }
    key.name = text;
    return key;
  }
};

// The player's comforts a gamepad button, a gesture or a headless action asks for directly
// (the others come as keys).
// Reload: the game's script file changed (or, headless, is to be read from `file`).
enum class Comfort { None, PlayerMenu, SaveSlot, LoadSlot, Rewind, Reload };

struct RawInput {
  // ButtonDown/ButtonUp: a gamepad button, named in `key.name` ("A", "Start", "Up" ...).
  // Motion: the pointer moved to (x, y) with no button change. Request: a comfort asked for
  // directly, see `comfort`.
  enum Type {
    Press,
    Release,
    Close,
    KeyDown,
    KeyUp,
    Wheel,
    ButtonDown,
    ButtonUp,
    Motion,
    Request
  } type = Press;
  int x = 0, y = 0;  // client position, unless `place` names one
  MouseButton button = MouseButton::Left;
  bool doubleClick = false;  // a press that completes a double click
  Place place = Place::None;
  int index = 0;                              // which MenuLabel
  Key key;                                    // KeyDown, KeyUp
  int notches = 0;                            // Wheel: up is positive
  gui::Comfort comfort = gui::Comfort::None;  // Request; `index` is the slot (1..30)
  std::string file;                           // Request Reload: where the new script is

  // A mouse press or release at a client position.
  static RawInput mouse(Type type, int x, int y, MouseButton button = MouseButton::Left,
                        bool doubleClick = false) {
    RawInput in;
    in.type = type, in.x = x, in.y = y, in.button = button, in.doubleClick = doubleClick;
    return in;
  }
  // A mouse press or release at a place of the window.
  static RawInput at(Type type, Place place, int index = 0, MouseButton button = MouseButton::Left,
                     bool doubleClick = false) {
    RawInput in = mouse(type, 0, 0, button, doubleClick);
    in.place = place, in.index = index;
    return in;
  }
  static RawInput keyEvent(Type type, Key key) {
    RawInput in;
    in.type = type, in.key = std::move(key);
    return in;
  }
  static RawInput wheel(int notches) {
    RawInput in;
    in.type = Wheel, in.notches = notches;
    return in;
  }
  static RawInput gamepad(Type type, std::string name) {
    RawInput in;
    in.type = type, in.key.name = std::move(name);
    return in;
  }
  static RawInput ask(gui::Comfort comfort, int slot = 0) {
    RawInput in;
    in.type = Request, in.comfort = comfort, in.index = slot;
    return in;
  }
  static RawInput close() {
    RawInput in;
    in.type = Close;
    return in;
  }
};

// Why the engine blocks, which decides what ends the wait.
enum class Wait {
  Input,    // for the user: until input, or the deadline (the next timer tick) if any
  Poll,     // the script polls in a loop: a short rest, or input
  Idle,     // the script loops without changing anything: as Poll, but a window sleeps
            // until input or the deadline (the next timer tick that has an effect)
  Time,     // a timed wait: until the deadline, or input
  Blocked,  // the thread is held (a synchronous sound): until the deadline; input waits
};

// A modal message box: an icon, a title, lines of text (separated by CR or CR LF) and
// buttons.
struct MessageBox {
  enum class Icon { Error, Question } icon = Icon::Error;
  std::string title, text;
  std::vector<std::string> buttons{"OK"};
};

// The frame to show, composed only when the backend asks for it (a backend that shows
// nothing never does).
class FrameSource {
 public:
  virtual const formats::Image& frame() = 0;
  // The parts of the frame that changed since the last call (all of it at first).
  virtual std::vector<formats::Rect> takeChanged() = 0;
  // The whole frame composed anew, without what is kept of earlier frames: what frame()
  // must equal.
  virtual formats::Image composeWhole() = 0;

 protected:
  ~FrameSource() = default;
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
  // The frame has changed: show it; the first call shows the window.
  virtual void present(FrameSource& source) = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setCursor(Cursor cursor) = 0;
  // Shows the box until a button is chosen; returns its index, or -1 when the box was
  // closed without one or cannot be shown.
  virtual int ask(const MessageBox& box) = 0;
  // A real device in a window, a silent one on the virtual clock in a headless run.
  virtual Mixer& mixer() = 0;
  // A window fills the screen or not (the player's menu asks); others ignore it.
  virtual void setFullscreen(bool) {}
  // A window watches the game's script file: when it changes, a Request Reload comes as
  // input. Others ignore it.
  virtual void watchFile(const std::filesystem::path&) {}
  // The kinds of media the game's script names, once it is read: a window readies what
  // shows and plays them before the first is due. Others ignore it.
  virtual void expectMedia(const engine::MediaNamed&) {}
};

}  // namespace gui
