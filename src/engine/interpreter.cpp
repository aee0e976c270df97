#include "engine/interpreter.h"

#include "engine/command_table.h"
#include "engine/fields.h"
#include "engine/script_error.h"

namespace engine {

int16_t Interpreter::N(int16_t n) const { return script_.number(s_.CurLine, n, s_.flags); }

const Command* Interpreter::commandOf(int16_t line) {
  if (line < 0 || line > kMaxLines) return findCommand(script_.field(line, 1));
  if (!known_[line]) {
    commands_[line] = findCommand(script_.field(line, 1));
    known_[line] = true;
  }
  return commands_[line];
}

void Interpreter::jump(int target) {
  if (target < 0 || target > kMaxLines) fail(kOutOfRange);
  s_.CurLine = static_cast<int16_t>(target);
}

/* The advance rule compares values: a command that jumps to its own line number goes
   on with the next line, exactly as if it had not jumped. */
void Interpreter::pass() {
  const int16_t StartLine = s_.CurLine;
  host_.beforePass();
  const Command* command = last_ = commandOf(StartLine);
  if (!command) fail(kUnknownCommand);
  command->run(*this);
  if (s_.CurLine == StartLine) s_.CurLine = static_cast<int16_t>(s_.CurLine + 1);
  host_.afterPass();
}

void Interpreter::MZ() {
  for (;;) pass();
}

}  // namespace engine
