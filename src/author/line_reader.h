#pragma once
// The lines of a loaded script as the checker reads them: each line's keyword, command
// and fields through the engine's own field reader, cached, with what the checker has
// learnt about the line (a table line of FP or FJ, a line that always stops).
#include <string>
#include <vector>

#include "engine/command_table.h"
#include "engine/script_store.h"

namespace author {

// A number field read as the player reads it, with no flag values known.
struct Number {
  bool ok = false;    // a number or a valid flag reference
  bool flag = false;  // a flag reference: its value is only known when the line runs
  int16_t value = 0;  // the number, or the index of the flag referred to
  engine::Text word;  // the player's error word when not ok
  bool literal() const { return ok && !flag; }
};

class LineReader {
 public:
  explicit LineReader(const engine::ScriptStore& script);

  int count() const { return script_.lineCount(); }
  const engine::Text& text(int k) const { return script_.line(k); }
  // Empty or only blanks: the player stops there with "命令無し" if it ever runs. Lines
  // outside 1..count are blank.
  bool blank(int k) const;
  const engine::Text& keyword(int k) const;
  const engine::Command* command(int k) const;
  int fieldCount(int k) const;
  // Field n as text (empty when the line lacks it) and as a number.
  engine::Text field(int k, int n) const;
  Number number(int k, int n) const;
  // A flag number written after "F" in a field or a condition ("05", "5"): ok with the
  // index, or not a flag number.
  static Number parseFlagIndex(engine::TextView digits);
  // The 1-based character column where field n begins.
  int fieldColumn(int k, int n) const;

  // A table line of the FP or FJ command on line tableOf(k).
  bool data(int k) const { return tableOf(k) != 0; }
  int tableOf(int k) const { return valid(k) ? lines_[k].tableOf : 0; }
  void setTable(int k, int owner) {
    if (valid(k)) lines_[k].tableOf = owner;
  }
  // The line stops the player whenever it runs.
  bool fails(int k) const { return valid(k) && lines_[k].fails; }
  void setFails(int k) {
    if (valid(k)) lines_[k].fails = true;
  }
  // The first ENDCM line below line k, where the search after a pick ends; 0 when none.
  int blockEnd(int k) const;

 private:
  struct Line {
    engine::Text keyword;
    const engine::Command* command = nullptr;
    int fieldCount = 1;
    bool blank = true;
    int tableOf = 0;
    bool fails = false;
  };
  bool valid(int k) const { return k >= 1 && k <= count(); }

  const engine::ScriptStore& script_;
  std::vector<Line> lines_;
};

// A line's text for a terminal: UTF-8, with a Unix line end inside it shown as "␊".
std::string shown(engine::TextView text);
// How many terminal columns the text takes: full-width characters take two.
int displayWidth(engine::TextView text);

}  // namespace author
