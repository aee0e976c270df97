// The menu commands the loop carries out: CMST and CMSL call the window's procedures,
// the search after a pick, CASE reached in sequence, and the single-entry edits.
#include "engine/commands.h"
#include "engine/fields.h"
#include "engine/script_error.h"

namespace engine::cmd {
namespace {

void checkCell(int menu, int entry) {
  if (menu < 0 || menu >= kMenus || entry < 0 || entry >= kEntries) fail(kOutOfRange);
}

}  // namespace

void CMST(Interpreter& in) {
  int16_t menu = in.N(2);
  in.host().CMST(menu, in.T(3));
}

/* After the pick, the lines below are read (never run) down to the CASE line with the
   pick's code; the first ENDCM met ends the search with an error, whatever block it
   belongs to. A search that finds neither steps off the script table: line 1201 is
   outside it. */
void CMSL(Interpreter& in) {
  in.state().CaseEndLine = in.N(3);
  const int16_t pick = in.host().CMSL(in.N(2));
  for (;;) {
    if (in.state().CurLine >= kMaxLines) {
      in.state().CurLine = kMaxLines + 1;
      fail(kOutOfRange);
    }
    in.state().CurLine = static_cast<int16_t>(in.state().CurLine + 1);
    const TextView keyword = in.field(1);
    if (keyword == U"CASE" && in.N(2) == pick) {
      in.state().CurLine = static_cast<int16_t>(in.state().CurLine + 1);
      return;
    }
    if (keyword == U"ENDCM") fail(caseMissing(pick));
  }
}

void CASE(Interpreter& in) { in.jump(in.state().CaseEndLine); }

void ADDCM(Interpreter& in) {
  Text text = in.T(4);
  int16_t menu = in.N(2);
  int16_t entry = in.N(3);
  checkCell(menu, entry);
  in.state().menuTable[menu][entry] = text;
}

void DELCM(Interpreter& in) {
  int16_t menu = in.N(2);
  int16_t entry = in.N(3);
  checkCell(menu, entry);
  in.state().menuTable[menu][entry].clear();
}

}  // namespace engine::cmd
