#include "author/explore_run.h"

#include <array>
#include <unordered_set>

namespace author {
namespace {

// A run ended on purpose: it reached a known state, or the replay went another way.
struct Stop {};

// The lines run since the last look, in order; and looking forgets them.
std::vector<int> takeLines(std::array<uint8_t, engine::kMaxLines + 1>& ran) {
  std::vector<int> lines;
  for (int k = 0; k <= engine::kMaxLines; ++k)
    if (ran[k]) {
      lines.push_back(k);
      ran[k] = 0;
    }
  return lines;
}

/* One run: the player from line 1 with the path as its input; when the path is used up,
   the state must be the one expected, and the way is taken; from then on each wait is a
   step, and the run goes on with the first way of each state new to it. */
class Run {
 public:
  Run(const ExploreOptions& options, const ScriptReading& script, const RunTask& task,
      const KnownState& known)
      : script_(script),
        task_(task),
        known_(known),
        backend_(task.path),
        acs_(backend_, runOptions(options, script, ran_.data(), &landedBy_)),
        replayed_(!task.expected) {
    result_.index = task.index;
    backend_.onIdle = [this] { return atWait(); };
  }

  RunResult play() {
    try {
      acs_.run();
    } catch (const Stop&) {
      return std::move(result_);
    }
    result_.end = RunResult::End::Outcome;
    result_.outcome = outcomeOf(acs_, backend_, landedBy_);
    result_.endLines = takeLines(ran_);
    return std::move(result_);
  }

 private:
  std::optional<record::InputAction> atWait() {
    const uint64_t key = stateKey(acs_, script_);
    return replayed_ ? step(key) : replayEnds(key);
  }

  record::InputAction replayEnds(uint64_t key) {
    replayed_ = true;
    takeLines(ran_);  // the replay ran only lines known to have run
    if (key != *task_.expected) end(RunResult::End::Diverged);
    return task_.action;
  }

  record::InputAction step(uint64_t key) {
    RunStep step;
    step.key = key;
    step.lines = takeLines(ran_);
    step.known = known_(key) || !walked_.insert(key).second;
    if (!step.known) step.wait = waitInfo(acs_);
    const bool goesOn = !step.known && !step.wait.ways.empty();
    const record::InputAction first = goesOn ? step.wait.ways[0].action : record::InputAction{};
    result_.steps.push_back(std::move(step));
    if (!goesOn) end(RunResult::End::AtLastStep);
    return first;
  }

  [[noreturn]] void end(RunResult::End how) {
    result_.end = how;
    throw Stop{};
  }

  const ScriptReading& script_;
  const RunTask& task_;
  const KnownState& known_;
  std::array<uint8_t, engine::kMaxLines + 1> ran_{};
  int landedBy_ = -1;
  ExploreBackend backend_;
  ui::Acs acs_;
  bool replayed_;
  std::unordered_set<uint64_t> walked_;  // the states this run reached
  RunResult result_;
};

}  // namespace

RunResult playRun(const ExploreOptions& options, const ScriptReading& script, const RunTask& task,
                  const KnownState& known) {
  return Run(options, script, task, known).play();
}
}  // namespace author
