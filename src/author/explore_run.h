#pragma once
// One run of the exploration: the player from line 1, the actions of a path replayed to a
// known state, one way taken there, and on through every state the run reaches with its
// first way, until a state known before (or reached twice in the run) or the end of the
// game. A run only tells what it met; what it adds to the exploration is decided where the
// runs are put in order.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "author/explore_graph.h"
#include "author/explore_play.h"

namespace author {

struct RunTask {
  long index = 0;                         // the run's place in the order of runs
  std::vector<record::InputAction> path;  // replayed from line 1 (empty: the start)
  std::optional<uint64_t> expected;       // the key of the state the path reaches
  int way = 0;                            // and the way taken there
  record::InputAction action;             // that way's action
};

// A state the run reached, and the lines run since the one before (or since the way was
// taken).
struct RunStep {
  uint64_t key = 0;
  bool known = false;  // known before: the run ended there; `wait` is empty
  WaitInfo wait;
  std::vector<int> lines;
};

struct RunResult {
  long index = 0;
  std::vector<RunStep> steps;
  enum class End {
    AtLastStep,  // at a state known before, or one with no way on (the last step)
    Outcome,     // the game ended: `outcome` (None when it ended otherwise)
    Diverged,    // the path replayed did not reach the expected state
    Lost         // the run could not be played
  } end = End::Lost;
  Outcome outcome;
  std::vector<int> endLines;  // the lines run after the last step
  std::string problem;        // Lost: why the run could not be played, when it says
};

// Whether a state is known: the run ends when it reaches one.
using KnownState = std::function<bool(uint64_t key)>;

RunResult playRun(const ExploreOptions& options, const ScriptReading& script, const RunTask& task,
                  const KnownState& known);

}  // namespace author
