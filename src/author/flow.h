#pragma once
// Which lines can run, found by following the script from line 1 the way the interpreter
// can go, without knowing the flags: both ways of every IF, every pick a menu can give
// with the menu table as the commands before it can have filled it, every target of an
// FJ table, RET back to the line after each GOSUB that can be in force. Line numbers
// written as flag references can lead anywhere.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "author/line_reader.h"
#include "engine/flags.h"

namespace author {

// Something the walk found, on the line where it begins.
struct FlowNote {
  enum Kind {
    Stops,  // the player stops with "命令無し" on an empty line this line leads to
    Note,   // a warning: RET before GOSUB, a pick without its CASE, a CASE no pick gives
  } kind = Note;
  int line = 0;
  int column = 0;
  std::string text;
};

struct FlowResult {
  std::vector<bool> reached;     // 0..1201: the line can run
  std::vector<bool> searched;    // CASE lines that the search after a reachable pick reads
  std::vector<bool> returnLive;  // from the line, a RET can run before the next GOSUB
};

FlowResult analyseFlow(const LineReader& lines, const std::function<void(const FlowNote&)>& note);

/* The flags that can decide where the game goes: those a condition tests, FP and FJ
   choose by, the chance label reads, or a flag reference reads where it picks a line, a
   flag, a menu, an entry or a slot; and, through LET and INC, the flags whose values
   flow into those. The others only count or are shown. */
std::array<bool, engine::kFlagCount> decisiveFlags(const LineReader& lines);

}  // namespace author
