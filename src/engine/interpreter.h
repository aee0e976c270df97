#pragma once
// The interpreter loop: each pass reads the keyword of line CurLine, runs the command
// of the first keyword in the command table that equals it, advances CurLine by one
// unless the command moved it, and lets the window process its pending events.
#include <array>
#include <cstdint>

#include "engine/host.h"
#include "engine/script_store.h"
#include "engine/state.h"

namespace engine {

struct Command;

class Interpreter {
 public:
  Interpreter(const ScriptStore& script, State& state, Host& host)
      : script_(script), s_(state), host_(host) {}

  // Runs from CurLine until the program ends; leaves only by an exception
  // (a ScriptError, or the host ending the program).
  [[noreturn]] void MZ();
  // One pass of the loop, for tests and for MZ.
  void pass();

  // Field n of the current line as text (Tn), as it stands in the line, and as a number
  // (Nn).
  Text T(int16_t n) const { return Text(field(n)); }
  TextView field(int16_t n) const { return script_.field(s_.CurLine, n); }
  int16_t N(int16_t n) const;
  // The command of the line that runs now, or null when its keyword is none of the 38.
  const Command* lastCommand() const { return last_; }
  // CurLine := target, or "範囲外" when the target lies outside 0..1200.
  void jump(int target);

  // What the commands change, and the window object they ask to draw, wait and sound.
  State& state() { return s_; }
  Host& host() { return host_; }

 private:
  const Command* commandOf(int16_t line);

  // The command of each line, found when the line first runs (lines never change).
  std::array<const Command*, kMaxLines + 1> commands_{};
  std::array<bool, kMaxLines + 1> known_{};
  const Command* last_ = nullptr;
  const ScriptStore& script_;
  State& s_;
  Host& host_;
};

}  // namespace engine
