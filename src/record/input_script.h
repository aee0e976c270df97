#pragma once
// The input file of a headless run: one mouse, key or wheel action per line, optionally
// timed.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_end.h"
#include "gui/backend.h"

namespace record {

struct InputAction {
  enum Kind {
    Click,
    ClickPicture,
    RClick,
    Pick,
    RPick,
    Heading,
    Chance,
    ClickAt,
    DblClickAt,
    Close,
    KeyPress,  // key NAME: down and up
    Hold,      // hold NAME: down
    Release,   // release NAME: up
    Wheel,
    Button,     // button NAME: a gamepad button down and up
    TwoFinger,  // a two-finger tap
    SaveSlot,   // save N
    LoadSlot,   // load N
    Rewind,     // back to the last choice
    Reload      // reload FILE: the script replaced by FILE's contents
  };
  Kind kind = Click;
  std::optional<uint32_t> at;  // virtual time of a timed action
  int n = 0;                   // label index of pick / rpick, slot of save / load
  int x = 0, y = 0;            // position of clickat / dblclickat
  bool right = false;          // clickat ... right
  gui::Key key;                // key, hold, release; button: its name
  int notches = 0;             // wheel: 1 up, -1 down
  std::string file;            // reload: the file, as written
  int lineNumber = 0;
};

// The gamepad buttons an input file may name.
bool knownButton(const std::string& name);

// A file that cannot be read or parsed; the message names the file and the line.
struct InputError : engine::FatalError {
  explicit InputError(const std::string& message)
      : engine::FatalError(engine::kExitUsage, message) {}
};

// Limits of an input file: far above any real one, low enough that a file without line
// ends, or a device that never ends, fails clearly instead of filling memory.
inline constexpr size_t kMaxInputFileBytes = size_t{16} << 20;
inline constexpr size_t kMaxInputLineBytes = 4096;

// The actions of an input file's text. Errors quote at most a short piece of the line.
std::vector<InputAction> parseInputScript(const std::string& text, const std::string& fileName);
// Reads and parses the file; a folder or a file that cannot be read is an InputError too.
std::vector<InputAction> readInputScript(const std::string& path);

}  // namespace record
