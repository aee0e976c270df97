// Commands that write flags. The order in which each reads its fields decides which
// error a line with several bad fields reports.
#include "engine/commands.h"
#include "engine/flag_ops.h"

namespace engine::cmd {

void INC(Interpreter& in) {
  int16_t k = in.N(2);
  int16_t limit = in.N(3);
  incFlag(in.state().flags, k, limit, [&in] { return in.T(4); });
}

void DEC(Interpreter& in) { decFlag(in.state().flags, in.N(2)); }

void FGCL(Interpreter& in) {
  int16_t last = in.N(3);
  int16_t first = in.N(2);
  clearFlags(in.state().flags, first, last);
}

void LET(Interpreter& in) {
  int16_t value = in.N(3);
  int16_t index = in.N(2);
  flagAt(in.state().flags, index) = value;
}

}  // namespace engine::cmd
