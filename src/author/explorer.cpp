#include "author/explorer.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <unordered_map>

#include "author/checker.h"
#include "backends/headless/headless_backend.h"
#include "engine/run_end.h"
#include "engine/state_key.h"
#include "platform/text_codec.h"
#include "ui/acs.h"

namespace author {
namespace {

using record::InputAction;

InputAction action(InputAction::Kind kind, int n = 0) {
  InputAction a;
  a.kind = kind;
  a.n = n;
  return a;
}

std::string actionText(const InputAction& a) {
  switch (a.kind) {
    case InputAction::Pick:
      return "pick " + std::to_string(a.n);
    case InputAction::Heading:
      return "heading";
    case InputAction::Chance:
      return "chance";
    default:
      return "click";
  }
}

// The headless backend of one run, whose box goes nowhere: the explorer keeps its text.
class ExploreBackend : public backends::HeadlessBackend {
 public:
  using HeadlessBackend::HeadlessBackend;
  int ask(const gui::MessageBox& box) override {
    error = box.text;
    return -1;
  }
  std::string error;
};

// A run ended on purpose: it reached a state already known.
struct Known {};

// An edge ends at a state or at an outcome: an ending, an error or nothing yet.
struct Target {
  enum Kind { None, State, Ending, Error } kind = None;
  int index = 0;
};

struct State {
  size_t hash = 0;
  int line = 0;
  gui::WaitKind waitKind = gui::WaitKind::Click;
  std::vector<InputAction> options;
  std::vector<Target> next;  // per option, once explored
  size_t explored = 0;       // options taken so far
  int parent = -1;           // the state and option it was first reached by
  int via = 0;
};

class Explorer {
 public:
  explicit Explorer(const ExploreOptions& options) : options_(options) {}

  ExploreReport run() {
    const auto start = std::chrono::steady_clock::now();
    checkShape();
    report_.ran.assign(engine::kMaxLines + 1, false);
    ran_.assign(engine::kMaxLines + 1, 0);
    playFrom(-1, 0);  // the start, up to the first wait and on
    for (int s; (s = nextToExplore()) >= 0;) {
      if (static_cast<long>(states_.size()) >= options_.maxStates) {
        report_.complete = false;
        break;
      }
      playFrom(s, static_cast<int>(states_[s].explored));
    }
    for (int k = 0; k <= engine::kMaxLines; ++k) report_.ran[k] = ran_[k] != 0;
    collect();
    report_.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return report_;
  }

 private:
  void checkShape() {
    std::filesystem::path file = options_.scriptFile;
    if (file.empty())
      file = platform::findFile(options_.gameFolder, U"TORAMI.acs")
                 .value_or(options_.gameFolder / "TORAMI.acs");
    CheckOptions o;
    o.media = false;
    const CheckResult check = checkScriptFile(file, platform::GameFolder(options_.gameFolder), o);
    report_.scriptLines = check.script.lineCount();
    report_.runnable = check.shape.runnable;
    report_.runnable.resize(engine::kMaxLines + 1, false);
    data_ = check.shape.data;
    data_.resize(engine::kMaxLines + 2, false);
    decisive_ = check.shape.decisive;
    returnLive_ = check.shape.returnLive;
    returnLive_.resize(engine::kMaxLines + 2, true);
  }

  // The state with options still to take that is nearest the start, so replays stay short.
  int nextToExplore() {
    while (!frontier_.empty()) {
      const int s = frontier_.front();
      if (states_[s].explored < states_[s].options.size()) return s;
      frontier_.pop_front();
    }
    return -1;
  }

  Path pathTo(int s) const {
    Path path;
    for (int at = s; states_[at].parent >= 0; at = states_[at].parent)
      path.push_back(states_[states_[at].parent].options[states_[at].via]);
    return {path.rbegin(), path.rend()};
  }

  /* The key of the state at this moment: two moments with the same key go on alike for
     the same input. It holds the flags that can decide where the game goes, flag 0 while
     the item menu shows an item (its message and entry follow from it), FP's end line
     while FP shows its entry, the return line where a RET can come before the next GOSUB,
     the menu table and the item messages, and what the window holds that decides how the
     game goes on; nothing that is only shown or heard. */
  size_t stateHash(const ui::Acs& acs) const {
    const engine::State& s = acs.state();
    const int line = s.CurLine;
    const bool inScript = line >= 0 && line <= engine::kMaxLines;
    auto flags = decisive_;
    flags[0] = flags[0] || acs.controls().LBcm->visible();
    engine::StateKey key;
    key.add(s.CurLine);
    key.add(s.CaseEndLine);
    if (!inScript || returnLive_[line]) key.add(s.ReturnLine);
    if (inScript && data_[line]) key.add(s.FpEndLine);
    for (int k = 0; k < engine::kFlagCount; ++k) key.add(flags[k] ? s.flags[k] : 0);
    for (const auto& menu : s.menuTable)
      for (const engine::Text& entry : menu) key.add(entry);
    for (const engine::Text& t : s.ItemMessages) key.add(t);
    acs.appendWindowState(key);
    return std::hash<engine::Text>()(key.text());
  }

  /* One run: replay the way to state `from` (none: the start), take its option `option`,
     then go on through every new state with its first option, until a known state or the
     end of the game. */
  void playFrom(int from, int option) {
    ++report_.runs;
    ExploreBackend backend(from >= 0 ? pathTo(from) : Path());
    ui::Options o;
    o.gameFolder = options_.gameFolder;
    o.scriptFile = options_.scriptFile;
    o.linesRun = ran_.data();
    ui::Acs acs(backend, o);
    int current = -1, chosen = 0;  // the edge being walked
    bool replayed = from < 0;
    backend.onIdle = [&]() -> std::optional<InputAction> {
      const size_t hash = stateHash(acs);
      if (!replayed) {
        replayed = true;
        if (states_[from].hash != hash) {  // the replay went another way: leave this state
          report_.complete = false;
          states_[from].explored = states_[from].options.size();
          throw Known{};
        }
        current = from, chosen = option;
        return take(from, option);
      }
      auto [it, fresh] = index_.try_emplace(hash, static_cast<int>(states_.size()));
      const int s = it->second;
      if (fresh) addState(acs, hash, current, chosen);
      link(current, chosen, {Target::State, s});
      if (!fresh || states_[s].options.empty()) throw Known{};
      current = s, chosen = 0;
      return take(s, 0);
    };
    try {
      acs.run();
    } catch (const Known&) {
      return;
    }
    const engine::EndReason reason = acs.endReason();
    if (reason == engine::EndReason::Eof || reason == engine::EndReason::Exit) {
      link(current, chosen, {Target::Ending, endingIndex(reason, acs.state())});
    } else if (reason == engine::EndReason::Error) {
      link(current, chosen, {Target::Error, errorIndex(backend.error, acs.state().CurLine)});
    }
  }

  InputAction take(int s, int option) {
    State& st = states_[s];
    st.explored = std::max(st.explored, static_cast<size_t>(option) + 1);
    return st.options[option];
  }

  void addState(const ui::Acs& acs, size_t hash, int parent, int via) {
    State st;
    st.hash = hash;
    st.line = acs.state().CurLine;
    st.waitKind = acs.waitKind();
    st.parent = parent;
    st.via = via;
    const ui::Controls& c = acs.controls();
    if (st.waitKind == gui::WaitKind::Click) st.options.push_back(action(InputAction::Click));
    if (st.waitKind == gui::WaitKind::Menu) {
      for (int i = 0; i < engine::kEntries; ++i)
        if (c.Label1[i]->visible() && c.Label1[i]->enabled())
          st.options.push_back(action(InputAction::Pick, i));
      if (c.LBcm->visible()) st.options.push_back(action(InputAction::Heading));
    }
    const auto& flags = acs.state().flags;
    if (flags[engine::kChanceOfferedFlag] == engine::kChanceValue &&
        flags[engine::kChanceTakenFlag] != engine::kChanceValue)
      st.options.push_back(action(InputAction::Chance));
    st.next.assign(st.options.size(), Target{});
    states_.push_back(std::move(st));
    frontier_.push_back(static_cast<int>(states_.size()) - 1);
  }

  void link(int from, int option, Target to) {
    if (from < 0) {
      start_ = to;
      return;
    }
    if (states_[from].next[option].kind == Target::None) ++report_.edges;
    states_[from].next[option] = to;
  }

  int endingIndex(engine::EndReason reason, const engine::State& s) {
    for (size_t i = 0; i < report_.endings.size(); ++i) {
      const Ending& e = report_.endings[i];
      if (e.reason == reason && e.line == s.CurLine && e.flags == s.flags)
        return static_cast<int>(i);
    }
    report_.endings.push_back({reason, s.CurLine, s.flags, {}});
    return static_cast<int>(report_.endings.size()) - 1;
  }

  int errorIndex(const std::string& box, int line) {
    std::string text = platform::lineBreaksAsNewlines(box);
    for (size_t p; (p = text.find('\n')) != std::string::npos;) text.replace(p, 1, " / ");
    for (size_t i = 0; i < report_.errors.size(); ++i)
      if (report_.errors[i].text == text) return static_cast<int>(i);
    report_.errors.push_back({text, line, {}});
    return static_cast<int>(report_.errors.size()) - 1;
  }

  /* Shortest paths from the start through the graph, the outcomes they reach first, and
     the waits from which no ending or error can be reached. */
  void collect() {
    const size_t n = states_.size();
    report_.states = static_cast<long>(n);
    std::vector<int> parent(n, -2), via(n, 0);
    std::vector<bool> endingFound(report_.endings.size()), errorFound(report_.errors.size());
    auto pathOf = [&](int s) {
      Path p;
      for (int at = s; at >= 0 && parent[at] >= 0; at = parent[at])
        p.push_back(states_[parent[at]].options[via[at]]);
      return Path(p.rbegin(), p.rend());
    };
    std::deque<int> queue;
    auto reach = [&](const Target& t, int from, int option) {
      if (t.kind == Target::State) {
        if (parent[t.index] == -2) {
          parent[t.index] = from, via[t.index] = option;
          queue.push_back(t.index);
        }
        return;
      }
      Path path;
      if (from >= 0) {
        path = pathOf(from);
        path.push_back(states_[from].options[option]);
      }
      if (t.kind == Target::Ending && !endingFound[t.index]) {
        endingFound[t.index] = true;
        report_.endings[t.index].path = path;
      } else if (t.kind == Target::Error && !errorFound[t.index]) {
        errorFound[t.index] = true;
        report_.errors[t.index].path = path;
      }
    };
    reach(start_, -1, 0);
    while (!queue.empty()) {
      const int s = queue.front();
      queue.pop_front();
      for (size_t o = 0; o < states_[s].next.size(); ++o)
        reach(states_[s].next[o], s, static_cast<int>(o));
    }
    groupEndings();
    // Backwards from the outcomes (and from options not taken): what leads on.
    std::vector<std::vector<int>> into(n);
    std::vector<bool> leads(n, false);
    std::deque<int> back;
    for (size_t s = 0; s < n; ++s)
      for (const Target& t : states_[s].next) {
        if (t.kind == Target::State) into[t.index].push_back(static_cast<int>(s));
        if (t.kind != Target::State && !leads[s]) {
          leads[s] = true;
          back.push_back(static_cast<int>(s));
        }
      }
    while (!back.empty()) {
      const int s = back.front();
      back.pop_front();
      for (int p : into[s])
        if (!leads[p]) {
          leads[p] = true;
          back.push_back(p);
        }
    }
    static const char* const kinds[] = {"click", "menu", "poll", "end"};
    std::map<std::pair<int, int>, size_t> byPlace;
    // Of the waits that lead to no outcome, those where the game stays: every way on
    // comes back to the same line and kind of wait (the others lead into such a place).
    auto staysPut = [&](size_t s) {
      for (const Target& t : states_[s].next)
        if (t.kind == Target::State && (states_[t.index].line != states_[s].line ||
                                        states_[t.index].waitKind != states_[s].waitKind))
          return false;
      return true;
    };
    for (size_t s = 0; s < n; ++s) {
      if (leads[s] || parent[s] == -2 || !staysPut(s)) continue;
      const int kind = std::min(static_cast<int>(states_[s].waitKind), 3);
      const auto place = std::make_pair(states_[s].line, kind);
      auto [it, fresh] = byPlace.try_emplace(place, report_.deadEnds.size());
      if (fresh)
        report_.deadEnds.push_back({place.first, kinds[kind], 0, pathOf(static_cast<int>(s))});
      ++report_.deadEnds[it->second].states;
    }
  }

  /* Endings are told apart by how and where the script ends: of the flag sets one ending
     is reached with, the one its shortest path gives is shown. */
  void groupEndings() {
    std::vector<Ending> grouped;
    for (const Ending& e : report_.endings) {
      auto same = std::find_if(grouped.begin(), grouped.end(), [&](const Ending& g) {
        return g.reason == e.reason && g.line == e.line;
      });
      if (same == grouped.end()) {
        grouped.push_back(e);
      } else {
        ++same->variants;
        if (e.path.size() < same->path.size()) {
          same->flags = e.flags;
          same->path = e.path;
        }
      }
    }
    report_.endings = std::move(grouped);
  }

  const ExploreOptions& options_;
  ExploreReport report_;
  std::vector<State> states_;
  std::unordered_map<size_t, int> index_;
  std::deque<int> frontier_;
  Target start_;
  std::vector<uint8_t> ran_;
  std::vector<bool> data_, returnLive_;
  std::array<bool, engine::kFlagCount> decisive_{};
};

std::string flagList(const engine::Flags& flags) {
  std::string out;
  for (int i = 0; i < engine::kFlagCount; ++i)
    if (flags[i] != 0)
      out += (out.empty() ? "" : " ") + ("F" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                                         "=" + std::to_string(flags[i]));
  return out.empty() ? "all 0" : out;
}

int picks(const Path& path) {
  int n = 0;
  for (const InputAction& a : path)
    n += a.kind == InputAction::Pick || a.kind == InputAction::Heading;
  return n;
}

std::string steps(const Path& path) {
  return std::to_string(path.size()) + (path.size() == 1 ? " action" : " actions") + ", " +
         std::to_string(picks(path)) + (picks(path) == 1 ? " pick" : " picks");
}

// Lines as ranges: "12, 40-45".
std::string ranges(const std::vector<int>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size();) {
    size_t j = i;
    while (j + 1 < lines.size() && lines[j + 1] == lines[j] + 1) ++j;
    if (!out.empty()) out += ", ";
    out += std::to_string(lines[i]);
    if (j > i) out += "-" + std::to_string(lines[j]);
    i = j + 1;
  }
  return out;
}

}  // namespace

ExploreReport explore(const ExploreOptions& options) { return Explorer(options).run(); }

void printReport(std::ostream& out, const ExploreReport& r, const std::string& fileName) {
  const double rate = r.seconds > 0 ? r.states / r.seconds : 0;
  out << "explored " << fileName << ": " << r.states << " states, " << r.edges << " moves, "
      << r.runs << " runs in " << std::fixed;
  out.precision(2);
  out << r.seconds << " s (" << static_cast<long>(rate) << " states per second)"
      << (r.complete ? "" : "; stopped early, the exploration is not complete") << "\n";
  out << "\nendings: " << r.endings.size() << "\n";
  for (const Ending& e : r.endings)
    out << "  " << (e.reason == engine::EndReason::Eof ? "EOF" : "EXIT") << " on line " << e.line
        << " after " << steps(e.path) << "; flags " << flagList(e.flags)
        << (e.variants > 1 ? " (and " + std::to_string(e.variants - 1) + " other sets of flags)"
                           : std::string())
        << "\n";
  out << "\nscript errors: " << r.errors.size() << "\n";
  for (const ReachedError& e : r.errors)
    out << "  line " << e.line << ": " << e.text << " after " << steps(e.path) << "\n";
  out << "\nwaits from which nothing leads on: " << r.deadEnds.size() << "\n";
  for (const DeadEnd& d : r.deadEnds)
    out << "  line " << d.line << " (" << d.kind << " wait, " << d.states
        << (d.states == 1 ? " state" : " states") << ") after " << steps(d.path) << "\n";
  std::vector<int> never;
  int runnable = 0, ran = 0;
  for (int k = 1; k <= r.scriptLines && k < static_cast<int>(r.runnable.size()); ++k) {
    if (!r.runnable[k]) continue;
    ++runnable;
    if (r.ran[k]) {
      ++ran;
    } else {
      never.push_back(k);
    }
  }
  out << "\nlines no path ran: " << (never.empty() ? "none" : ranges(never)) << "\n";
  out.precision(1);
  out << "coverage: " << ran << " of " << runnable << " lines ("
      << (runnable ? 100.0 * ran / runnable : 100.0) << "%)\n";
}

std::string inputFileText(const Path& path, const std::string& heading) {
  std::string text = "# " + heading + "\n";
  for (const InputAction& a : path) text += actionText(a) + "\n";
  return text;
}

std::vector<std::filesystem::path> writeInputFiles(const ExploreReport& report,
                                                   const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::vector<std::filesystem::path> written;
  auto write = [&](const std::string& name, const std::string& text) {
    const auto file = folder / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw engine::FatalError(engine::kExitUsage, "cannot write " + file.string());
    written.push_back(file);
  };
  for (size_t i = 0; i < report.endings.size(); ++i) {
    const Ending& e = report.endings[i];
    write("ending-" + std::to_string(i + 1) + "-" + std::string(engine::traceName(e.reason)) + "-" +
              std::to_string(e.line) + ".txt",
          inputFileText(e.path, (e.reason == engine::EndReason::Eof ? "EOF" : "EXIT") +
                                    std::string(" on line ") + std::to_string(e.line) + ", flags " +
                                    flagList(e.flags)));
  }
  for (size_t i = 0; i < report.errors.size(); ++i) {
    const ReachedError& e = report.errors[i];
    write("error-" + std::to_string(i + 1) + "-" + std::to_string(e.line) + ".txt",
          inputFileText(e.path, "script error on line " + std::to_string(e.line) + ": " + e.text));
  }
  return written;
}

}  // namespace author
