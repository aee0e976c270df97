#include "engine/interpreter.h"

#include "engine/command_table.h"
#include "engine/fields.h"
#include "engine/script_error.h"

namespace engine {

Text Interpreter::T(int16_t n) const { return CUTA(currentLine(), n); }

int16_t Interpreter::N(int16_t n) const { return CUTV(currentLine(), n, s.flags); }

void Interpreter::jump(int target) {
  if (target < 0 || target > kMaxLines) fail(kOutOfRange);
  s.CurLine = static_cast<int16_t>(target);
}

/* The advance rule compares values: a command that jumps to its own line number goes
   on with the next line, exactly as if it had not jumped. */
void Interpreter::pass() {
  const int16_t StartLine = s.CurLine;
  const Text keyword = T(1);
  host.beforePass(keyword);
  const Command* command = findCommand(keyword);
  if (!command) fail(kUnknownCommand);
  command->run(*this);
  if (s.CurLine == StartLine) s.CurLine = static_cast<int16_t>(s.CurLine + 1);
  host.afterPass();
}

void Interpreter::MZ() {
  for (;;) pass();
}

}  // namespace engine
