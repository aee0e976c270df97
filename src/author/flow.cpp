#include "author/flow.h"

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "engine/menu_text.h"
#include "engine/script_error.h"
#include "engine/state.h"

namespace author {
namespace {

using engine::Text;

// What one cell of the menu table can hold at a line: a few texts, or anything.
struct Cell {
  static constexpr size_t kCap = 12;
  std::vector<Text> texts{Text()};
  bool any = false;

  bool add(const Text& t) {
    if (any || std::find(texts.begin(), texts.end(), t) != texts.end()) return false;
    if (texts.size() >= kCap) return widen();
    texts.push_back(t);
    return true;
  }
  bool widen() {
    if (any) return false;
    any = true;
    texts.clear();
    return true;
  }
  bool join(const Cell& from) {
    if (from.any) return widen();
    bool changed = false;
    for (const Text& t : from.texts) changed |= add(t);
    return changed;
  }
  void set(const Text& t) {
    any = false;
    texts.assign(1, t);
  }
};

// What the walk knows at a line: the menu table and the CASE end line in force.
struct Value {
  std::array<std::array<Cell, engine::kEntries>, engine::kMenus> menus{};
  std::set<int> caseEnds{0};
  bool caseEndAny = false;

  bool join(const Value& from) {
    bool changed = false;
    for (int m = 0; m < engine::kMenus; ++m)
      for (int e = 0; e < engine::kEntries; ++e) changed |= menus[m][e].join(from.menus[m][e]);
    for (int t : from.caseEnds) changed |= caseEnds.insert(t).second;
    if (from.caseEndAny && !caseEndAny) caseEndAny = changed = true;
    return changed;
  }
};

// A place of the walk: a line, and the line RET returns to (0 before any GOSUB).
using Key = int64_t;
constexpr Key keyOf(int line, int ret) { return static_cast<Key>(line) * 2048 + ret; }

class Walker {
 public:
  Walker(const LineReader& lines, const std::function<void(const FlowNote&)>& note)
      : lines_(lines), note_(note) {
    result_.reached.assign(engine::kMaxLines + 2, false);
    result_.searched.assign(engine::kMaxLines + 2, false);
  }

  FlowResult run() {
    if (lines_.blank(1)) {
      say(FlowNote::Stops, 1, "line 1 is empty: the player stops there at once");
    } else {
      enter(1, 0, Value());
    }
    while (!work_.empty()) {
      const Key key = work_.front();
      work_.pop_front();
      queued_.erase(key);
      const Value v = values_.at(key);
      step(static_cast<int>(key / 2048), static_cast<int>(key % 2048), v);
    }
    reportPicks();
    findReturnLive();
    return result_;
  }

 private:
  void say(FlowNote::Kind kind, int line, std::string text) {
    if (said_.insert({line, text}).second) note_({kind, line, 0, std::move(text)});
  }

  void enter(int line, int ret, const Value& v) {
    successors_[from_].insert(line);
    const Key key = keyOf(line, ret);
    auto [it, fresh] = values_.try_emplace(key, v);
    if ((fresh || it->second.join(v)) && queued_.insert(key).second) work_.push_back(key);
  }

  // Going on at `to` from `from`: an empty line there stops the player.
  void go(int from, int to, int ret, const Value& v, const std::string& how) {
    if (to < 0 || to > engine::kMaxLines + 1) return;  // outside the script: reported per line
    if (lines_.blank(to)) {
      if (!how.empty()) say(FlowNote::Stops, from, how);
      return;
    }
    enter(to, ret, v);
  }

  void next(int k, int ret, const Value& v) {
    if (k + 1 > lines_.count())
      return go(k, k + 1, ret, v,
                "the script ends after this line without EOF or EXIT: the player runs on to "
                "line " +
                    std::to_string(k + 1) + ", which is empty, and stops");
    go(k, k + 1, ret, v,
       "the next line, " + std::to_string(k + 1) + ", is empty: the player stops there");
  }

  // A target written as a number; a flag reference can lead anywhere.
  void jump(int k, const Number& target, int ret, const Value& v) {
    if (!target.ok) return;
    if (target.flag) return anywhere(ret, v);
    if (target.value == k) return next(k, ret, v);
    go(k, target.value, ret, v, "");  // an empty target is reported with the line
  }

  void anywhere(int ret, const Value& v) {
    for (int t = 1; t <= lines_.count(); ++t)
      if (!lines_.blank(t)) enter(t, ret, v);
  }

  void step(int k, int ret, const Value& v) {
    from_ = k;
    result_.reached[k] = true;
    if (lines_.fails(k) || !lines_.command(k)) return;
    const Text& kw = lines_.keyword(k);
    if (kw == U"EOF" || kw == U"EXIT") return;
    if (kw == U"GOTO" || kw == U"LOOP" || kw == U"DORT" || kw == U"DOEX" || kw == U"ELSE")
      return jump(k, lines_.number(k, 2), ret, v);
    if (kw == U"GOSUB") return jump(k, lines_.number(k, 2), k + 1, v);
    if (kw == U"RET") return returnFrom(k, ret, v);
    if (kw == U"IF" || kw == U"EVA") {
      next(k, ret, v);
      if (lines_.fieldCount(k) >= 3) jump(k, lines_.number(k, 3), ret, v);
      return;
    }
    if (kw == U"FP") return jump(k, lines_.number(k, 3), ret, v);
    if (kw == U"FJ") return jumpTable(k, ret, v);
    if (kw == U"CASE") return caseInSequence(k, ret, v);
    if (kw == U"CMSL") return pick(k, ret, v);
    Value after = v;
    if (kw == U"CMST") fill(k, after);
    if (kw == U"ADDCM") edit(k, after, lines_.field(k, 4));
    if (kw == U"DELCM") edit(k, after, Text());
    next(k, ret, after);
  }

  void returnFrom(int k, int ret, const Value& v) {
    if (ret == 0)
      return say(FlowNote::Note, k,
                 "RET can run before any GOSUB: it returns to line 0, which is empty, and the "
                 "player stops (命令無し)");
    if (ret == k) return next(k, ret, v);
    go(k, ret, ret, v, "");
  }

  void jumpTable(int k, int ret, const Value& v) {
    const Number end = lines_.number(k, 3);
    if (end.flag) return anywhere(ret, v);
    if (!end.literal() || end.value <= k || end.value > engine::kMaxLines) return;
    for (int t = k + 1; t <= end.value; ++t) {
      const Number target = lines_.number(t, 1);
      if (!target.ok) continue;
      if (target.flag) return anywhere(ret, v);
      if (target.value == k) {
        next(k, ret, v);
      } else {
        go(k, target.value, ret, v, "");
      }
    }
  }

  void caseInSequence(int k, int ret, const Value& v) {
    if (v.caseEndAny) anywhere(ret, v);
    for (int end : v.caseEnds) {
      if (end == 0) {
        say(FlowNote::Note, k,
            "this CASE can be reached in sequence before any CMSL has run: it jumps to line 0, "
            "which is empty, and the player stops (命令無し)");
      } else if (end == k) {
        next(k, ret, v);
      } else {
        go(k, end, ret, v, "");
      }
    }
  }

  void fill(int k, Value& v) {
    const Number menu = lines_.number(k, 2);
    if (!menu.literal()) {
      for (auto& m : v.menus)
        for (Cell& c : m) c.widen();
      return;
    }
    const Text text = lines_.field(k, 3);
    engine::MenuTable table{};
    try {
      engine::fillMenus(table, menu.value, text);
    } catch (const engine::ScriptError&) {
      return;
    }
    const int last =
        menu.value + static_cast<int>(std::count(text.begin(), text.end(), engine::kMenuSeparator));
    for (int m = menu.value; m <= last && m < engine::kMenus; ++m)
      for (int e = 0; e < engine::kEntries; ++e) v.menus[m][e].set(table[m][e]);
  }

  void edit(int k, Value& v, const Text& text) {
    const Number menu = lines_.number(k, 2), entry = lines_.number(k, 3);
    const bool knownMenu = menu.literal(), knownEntry = entry.literal();
    for (int m = 0; m < engine::kMenus; ++m) {
      if (knownMenu && m != menu.value) continue;
      for (int e = 0; e < engine::kEntries; ++e) {
        if (knownEntry && e != entry.value) continue;
        if (knownMenu && knownEntry) {
          v.menus[m][e].set(text);
        } else {
          v.menus[m][e].add(text);
        }
      }
    }
  }

  struct Pick {
    int menu, entry;
    Text label;
  };

  /* The pick codes the menu can give: "＊" entries of the start menu and of every menu
     its digit entries open. Nothing when a cell can hold anything. */
  std::optional<std::map<int, Pick>> codes(int start, const Value& v) {
    std::map<int, Pick> out;
    std::set<int> seen{start};
    std::deque<int> menus{start};
    while (!menus.empty()) {
      const int m = menus.front();
      menus.pop_front();
      for (int e = 0; e < engine::kEntries; ++e) {
        const Cell& cell = v.menus[m][e];
        if (cell.any) return std::nullopt;
        for (const Text& t : cell.texts) {
          if (t.empty()) continue;
          if (t[0] == engine::kPickMarker) out.try_emplace(m * 100 + e, Pick{m, e, t.substr(1)});
          if (engine::isDigitMarker(t[0])) {
            const int d = static_cast<int>(t[0] - U'０');
            if (seen.insert(d).second) menus.push_back(d);
          }
        }
      }
    }
    return out;
  }

  /* The search after a pick reads the lines below the CMSL down to the first ENDCM and
     goes on after the first CASE with the pick's code. */
  void pick(int k, int ret, const Value& v) {
    const Number menu = lines_.number(k, 2), end = lines_.number(k, 3);
    Value after = v;
    after.caseEnds.clear();
    after.caseEndAny = !end.literal();
    if (end.literal()) after.caseEnds.insert(end.value);
    const int blockEnd = lines_.blockEnd(k);
    std::vector<std::pair<int, Number>> cases;
    for (int t = k + 1; t <= (blockEnd ? blockEnd - 1 : lines_.count()); ++t)
      if (lines_.keyword(t) == U"CASE") {
        cases.emplace_back(t, lines_.number(t, 2));
        result_.searched[t] = true;
        searchedBy_[t].insert(k);
      }
    auto branch = [&](int caseLine) {
      go(caseLine, caseLine + 1, ret, after,
         "the branch after this CASE starts on line " + std::to_string(caseLine + 1) +
             ", which is empty: the player stops there");
    };
    auto picks = menu.literal() ? codes(menu.value, v) : std::nullopt;
    if (!picks) {
      unknownPicks_.insert(k);
      for (const auto& c : cases) branch(c.first);
      return;
    }
    for (const auto& [code, p] : *picks) {
      produced_[k].insert(code);
      bool found = false;
      for (const auto& [line, number] : cases) {
        if (number.flag) {
          branch(line);
          found = true;
        } else if (number.literal() && number.value == code) {
          branch(line);
          found = true;
          break;
        }
      }
      if (!found) missing_[k].try_emplace(code, p);
    }
  }

  /* Backwards over the lines the walk went between: from which lines a RET can run before
     a GOSUB sets the return line again. Elsewhere the return line decides nothing. */
  void findReturnLive() {
    std::vector<bool>& live = result_.returnLive;
    live.assign(engine::kMaxLines + 2, false);
    for (bool changed = true; changed;) {
      changed = false;
      for (const auto& [k, next] : successors_) {
        if (live[k] || k < 1) continue;
        bool on = lines_.keyword(k) == U"RET";
        if (lines_.keyword(k) != U"GOSUB")
          for (int t : next) on = on || live[t];
        if (on) live[k] = changed = true;
      }
    }
  }

  void reportPicks() {
    for (const auto& [k, picks] : missing_) {
      const int blockEnd = lines_.blockEnd(k);
      for (const auto& [code, p] : picks)
        say(FlowNote::Note, k,
            "the pick " + std::to_string(code) + " (menu " + std::to_string(p.menu) + ", entry " +
                std::to_string(p.entry) + " \"" + shown(p.label) + "\") has no CASE line " +
                (blockEnd ? "before the ENDCM on line " + std::to_string(blockEnd) +
                                ": the player stops with \"CASE " + std::to_string(code) + "無し\""
                          : "below: the search runs off the script (範囲外)"));
    }
    for (const auto& [t, cmsls] : searchedBy_) {
      const Number code = lines_.number(t, 2);
      if (!code.literal()) continue;
      bool possible = false;
      for (int k : cmsls)
        possible |= unknownPicks_.count(k) > 0 || produced_[k].count(code.value) > 0;
      if (!possible)
        say(FlowNote::Note, t,
            "no pick of the menu shown by the CMSL on line " + std::to_string(*cmsls.begin()) +
                " gives the code " + std::to_string(code.value) + ": this branch never runs");
    }
  }

  const LineReader& lines_;
  const std::function<void(const FlowNote&)>& note_;
  FlowResult result_;
  std::unordered_map<Key, Value> values_;
  std::deque<Key> work_;
  std::set<Key> queued_;
  std::set<std::pair<int, std::string>> said_;
  std::map<int, std::map<int, Pick>> missing_;
  std::map<int, std::set<int>> produced_;
  std::set<int> unknownPicks_;
  std::map<int, std::set<int>> searchedBy_;
  std::map<int, std::set<int>> successors_;
  int from_ = 0;
};

void markFlag(std::array<bool, engine::kFlagCount>& flags, int index, bool& changed) {
  if (index < 0 || index >= engine::kFlagCount || flags[index]) return;
  flags[index] = changed = true;
}

}  // namespace

std::array<bool, engine::kFlagCount> decisiveFlags(const LineReader& lines) {
  std::array<bool, engine::kFlagCount> flags{};
  flags[engine::kChanceOfferedFlag] = flags[engine::kChanceTakenFlag] = true;  // the chance label
  bool changed = true;
  while (changed) {
    changed = false;
    for (int k = 1; k <= lines.count(); ++k) {
      if (lines.data(k)) {
        if (lines.keyword(lines.tableOf(k)) == U"FJ") {
          const Number target = lines.number(k, 1);
          if (target.flag) markFlag(flags, target.value, changed);
        }
        continue;
      }
      const engine::Command* c = lines.command(k);
      if (!c) continue;
      const Text kw = c->keyword;
      for (const engine::FieldUse& f : c->fields) {
        if (f.n == 0) break;
        if (f.kind == engine::FieldKind::Condition) {
          const Text condition = lines.field(k, f.n);
          for (size_t i = 0; i < condition.size(); ++i)
            if (condition[i] == U'F') {
              const Number n = LineReader::parseFlagIndex(condition.substr(i + 1, 2));
              if (n.ok) markFlag(flags, n.value, changed);
            }
          continue;
        }
        if (!engine::isNumberKind(f.kind)) continue;
        const Number n = lines.number(k, f.n);
        const bool selector = (kw == U"FP" || kw == U"FJ") && f.n == 2;
        if (selector && n.literal()) markFlag(flags, n.value, changed);
        if (!n.flag) continue;
        // Values that are only shown, played or counted decide nothing by themselves.
        const bool shownOnly = (kw == U"LBHGV" || kw == U"SOUND" || kw == U"MUSPL") && f.n == 3;
        if (shownOnly || (kw == U"FADE" && f.n == 2)) continue;
        if ((kw == U"LET" || kw == U"INC") && f.n == 3) {
          const Number target = lines.number(k, 2);
          if (!target.literal() || target.value < 0 || target.value >= engine::kFlagCount ||
              flags[target.value])
            markFlag(flags, n.value, changed);
          continue;
        }
        markFlag(flags, n.value, changed);
      }
    }
  }
  return flags;
}

FlowResult analyseFlow(const LineReader& lines, const std::function<void(const FlowNote&)>& note) {
  return Walker(lines, note).run();
}

}  // namespace author
