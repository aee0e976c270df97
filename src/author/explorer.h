#pragma once
// The explorer behind `torami --explore`: plays a game headless from the start along every
// path a player can take (every visible, enabled menu label and the heading at a menu
// wait, a click at a click wait, the chance double click wherever it changes a flag) and
// gathers the endings, the script errors some path reaches, the waits from which nothing
// leads on, and the lines no path ran. It runs the player itself (the window object on
// the headless backend); a state already seen (the whole state at a wait) is not explored
// twice, and a state is reached again by replaying the actions that led to it.
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/flags.h"
#include "engine/run_end.h"
#include "record/input_script.h"

namespace author {

struct ExploreOptions {
  std::filesystem::path gameFolder;
  std::filesystem::path scriptFile;  // empty: TORAMI.acs in the game folder
  long maxStates = 200000;           // stop after this many distinct waits
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
  Path path;
};

struct DeadEnd {
  int line = 0;
  std::string kind;  // "click", "menu" or "poll"
  int states = 0;    // how many states at this line and wait lead nowhere
  Path path;
};

struct ExploreReport {
  std::vector<Ending> endings;
  std::vector<ReachedError> errors;
  std::vector<DeadEnd> deadEnds;
  long states = 0, runs = 0, edges = 0;
  bool complete = true;  // false when --max-states stopped the exploration
  double seconds = 0;
  int scriptLines = 0;
  std::vector<bool> ran;       // lines some path ran
  std::vector<bool> runnable;  // lines that run as commands (not blank, not tables, not CASE)
};

ExploreReport explore(const ExploreOptions& options);

// The report as `torami --explore` prints it.
void printReport(std::ostream& out, const ExploreReport& report, const std::string& fileName);

/* Writes an input file for each ending and each error into `folder` (created when
   missing): ending-1-exit-218.txt, error-1-45.txt, ... Returns the files written. */
std::vector<std::filesystem::path> writeInputFiles(const ExploreReport& report,
                                                   const std::filesystem::path& folder);

// The text of an input file that plays `path`.
std::string inputFileText(const Path& path, const std::string& heading);

}  // namespace author
