#pragma once
// The explorer behind `torami --explore`: plays a game headless from the start along every
// path a player can take (every visible, enabled menu label and the heading at a menu
// wait, a click at a click wait, the chance double click wherever it changes a flag) and
// gathers the endings, the script errors some path reaches, the waits from which nothing
// leads on, and the lines no path ran. It runs the player itself (the window object on
// the headless backend); a state already seen (the whole state at a wait) is not explored
// twice, and a state is reached again by replaying the actions that led to it. Where the
// system can copy this program (fork), the runs are played in worker processes, one for each
// processor; their results are put in in the order one player alone would have played them,
// so the report is the same either way.
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/flags.h"
#include "engine/run_end.h"
#include "gui/form.h"
#include "record/input_script.h"

namespace author {

struct ExploreOptions {
  std::filesystem::path gameFolder;
  std::filesystem::path scriptFile;  // empty: TORAMI.acs in the game folder
  long maxStates = 200000;           // stop after this many distinct waits
  // Where the runs are played: in worker processes (where the system cannot copy this
  // program, as InProcess), or one after another in this process.
  enum class Method { Workers, InProcess } method = Method::Workers;
  int workers = 0;  // how many worker processes; 0: one for each processor
  // Where a line says how far the exploration has come, once it takes longer than a
  // second; null: nowhere. `progressInPlace`: rewrite one line (a terminal).
  std::ostream* progress = nullptr;
  bool progressInPlace = false;
};

using Path = std::vector<record::InputAction>;

struct Ending {
  engine::EndReason reason;  // Eof or Exit
  int line = 0;
  engine::Flags flags{};
  Path path;         // a shortest path that reaches it, with these flags
  int variants = 1;  // how many different sets of flags it is reached with
};

struct ReachedError {
  std::string text;  // the box text, lines joined by " / "
  int line = 0;
  int jumpLine = -1;  // the line whose jump last landed the run before the error; -1: none
  Path path;
};

struct DeadEnd {
  int line = 0;
  std::string kind;  // "click", "menu" or "poll"
  int states = 0;    // how many states at this line and wait lead nowhere
  Path path;
};

// A way on from a wait: the action, and what the player sees of it (a label's or the
// heading's caption, as UTF-8; empty for a click and the chance).
struct Way {
  record::InputAction action;
  std::string caption;
};

// Where a way leads: another wait, an ending or an error (indexes into the report's lists),
// or nowhere known (the run ended otherwise, or the way was not followed).
struct Step {
  enum Kind { None, Wait, Ending, Error } kind = None;
  int index = 0;
};

// A state at a wait, and where each way on from it leads.
struct ExploredWait {
  int line = 0;
  gui::WaitKind kind = gui::WaitKind::Click;
  std::vector<Way> ways;
  std::vector<Step> next;  // one for each way
};

struct ExploreReport {
  std::vector<Ending> endings;
  std::vector<ReachedError> errors;
  std::vector<DeadEnd> deadEnds;
  // The waits in the order a breadth-first walk from the start reaches them, and where the
  // start leads.
  std::vector<ExploredWait> waits;
  Step start;
  // runs: the plays from line 1, one for the start and one for each way on from a wait but
  // the first.
  long states = 0, runs = 0, edges = 0;
  bool complete = true;  // false when --max-states stopped the exploration or a way was lost
  bool stopped = false;  // --max-states stopped it
  // Ways that could not be followed: a run that ended unexpectedly, a replay that went
  // another way.
  long lost = 0;
  int workers = 0;  // the worker processes that played the runs; 0: this process
  double seconds = 0;
  int scriptLines = 0;
  std::vector<bool> ran;       // lines some path ran
  std::vector<bool> runnable;  // lines that run as commands (not blank, not tables, not CASE)
};

ExploreReport explore(const ExploreOptions& options);

// The report as `torami --explore` prints it.
void printReport(std::ostream& out, const ExploreReport& report, const std::string& fileName);

// The lines no path ran, of those that run as commands.
std::vector<int> linesNeverRun(const ExploreReport& report);
// Lines as ranges: "12, 40-45".
std::string lineRanges(const std::vector<int>& lines);

/* Writes an input file for each ending and each error into `folder` (created when
   missing): ending-1-exit-218.txt, error-1-45.txt, ... Returns the files written. */
std::vector<std::filesystem::path> writeInputFiles(const ExploreReport& report,
                                                   const std::filesystem::path& folder);

// The text of an input file that plays `path`.
std::string inputFileText(const Path& path, const std::string& heading);

// An action as an input file writes it: "pick 2", "heading", "click", "chance".
std::string actionText(const record::InputAction& action);

}  // namespace author
