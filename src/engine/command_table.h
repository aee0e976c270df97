#pragma once
// The 38 keywords of the script language, in the order the loop tests them, with the
// fields each command reads. The interpreter runs the commands; the script checker reads
// the same table to know what each line must hold.
#include <array>
#include <cstdint>
#include <span>

#include "engine/text.h"

namespace engine {

class Interpreter;

// What a field of a command line means. Text kinds are read with CUTA, number kinds
// with CUTV (a number or a flag reference "Fnn").
enum class FieldKind : uint8_t {
  Text,       // text shown or stored as written
  Message,    // message text with markup, typed by the message renderer
  MenuText,   // CMST: entries and menus separated by markers and "・"
  MenuEntry,  // ADDCM: one entry, its first character the marker
  Condition,  // IF, EVA: the condition evaluator's text
  Picture,    // a picture name (+ ".szg")
  Music,      // a music name (+ ".MID")
  Sound,      // a sound name (+ ".wav")
  Mode,       // INC's mode: "L" wraps, anything else stays
  Number,     // any signed 16-bit number
  Line,       // a line number 0..1200
  Flag,       // a flag index 0..30
  Menu,       // a menu number 0..9
  Entry,      // a menu entry 0..7
  Item,       // an item slot 0..7
  Label,      // an index of the LBhg label array: 0
  PickCode,   // CASE: the pick code the search after a pick compares
};

// When a command reads a field.
enum class FieldWhen : uint8_t {
  Always,
  IfFalse,   // IF, EVA: the target, only when the condition is false
  AtLimit,   // INC: the mode, only when the flag has reached its limit
  BySearch,  // CASE: read by the search after a pick, not when the line runs
};

struct FieldUse {
  int8_t n = 0;  // field number; 0 ends the list
  FieldKind kind = FieldKind::Text;
  FieldWhen when = FieldWhen::Always;
};

struct Command {
  const char32_t* keyword;
  void (*run)(Interpreter&);
  std::array<FieldUse, 3> fields;  // in the order the command reads them
};

// The command whose keyword equals `keyword` exactly (same case and length), or null.
const Command* findCommand(TextView keyword);
// All 38, in the order of testing.
std::span<const Command> commands();

// Number fields are read with CUTV; the others are text.
constexpr bool isNumberKind(FieldKind k) { return k >= FieldKind::Number; }

}  // namespace engine
