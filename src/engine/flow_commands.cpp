// Commands that choose the next line: jumps, the one-level subroutine, conditional
// blocks, the message table FP and the jump table FJ, and the end of the program.
#include "engine/commands.h"
#include "engine/condition.h"
#include "engine/fields.h"
#include "engine/flag_ops.h"
#include "engine/script_error.h"

namespace engine::cmd {

void Jump(Interpreter& in) { in.jump(in.N(2)); }

void Nothing(Interpreter&) {}

/* There is one return register and no stack: a GOSUB inside a subroutine overwrites
   it, and RET leaves it as it is. */
void GOSUB(Interpreter& in) {
  int16_t target = in.N(2);
  in.state().ReturnLine = static_cast<int16_t>(in.state().CurLine + 1);
  in.jump(target);
}

void RET(Interpreter& in) { in.jump(in.state().ReturnLine); }

// The target is read only when the condition is false.
void IF(Interpreter& in) {
  if (TCHK(in.field(2), in.state().flags) == 0) in.jump(in.N(3));
}

/* The table lines follow the command: entry v is line CurLine + v, valid from 1 up to
   the end line itself. The sums are computed without 16-bit wrap, so a huge flag value
   is the command's own error. */
void FP(Interpreter& in) {
  in.state().FpEndLine = in.N(3);
  const int v = flagAt(in.state().flags, in.N(2));
  const int start = in.state().CurLine;
  if (in.state().FpEndLine < start + v || v < 1) fail(kFpTable);
  if (in.state().FpEndLine > kMaxLines) fail(kOutOfRange);
  in.state().CurLine = static_cast<int16_t>(start + v);
  in.host().MESHG(in.T(1));
  in.state().CurLine = in.state().FpEndLine;
}

void FJ(Interpreter& in) {
  const int v = flagAt(in.state().flags, in.N(2));
  const int e = in.N(3);
  const int start = in.state().CurLine;
  if (e < start + v || v < 1) fail(kFjTable);
  if (start + v > kMaxLines) fail(kOutOfRange);
  in.state().CurLine = static_cast<int16_t>(start + v);
  const int16_t target = in.N(1);
  if (target < 0 || target > kMaxLines) {
    in.state().CurLine = static_cast<int16_t>(start);  // reported by the jumping command
    fail(kOutOfRange);
  }
  in.state().CurLine = target;
}

void End(Interpreter& in) { in.host().endProgram(EndReason::Eof); }

void Exit(Interpreter& in) { in.host().endProgram(EndReason::Exit); }

}  // namespace engine::cmd
