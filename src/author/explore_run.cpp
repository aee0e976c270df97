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

}  // namespace

RunResult playRun(const ExploreOptions& options, const ScriptReading& script, const RunTask& task,
                  const KnownState& known) {
  RunResult result;
  result.index = task.index;
  std::array<uint8_t, engine::kMaxLines + 1> ran{};
  int landedBy = -1;
  ExploreBackend backend(task.path);
  ui::Acs acs(backend, runOptions(options, script, ran.data(), &landedBy));
  bool replayed = !task.expected;
  std::unordered_set<uint64_t> walked;  // the states this run reached
  backend.onIdle = [&]() -> std::optional<record::InputAction> {
    const uint64_t key = stateKey(acs, script);
    if (!replayed) {
      replayed = true;
      takeLines(ran);  // the replay ran only lines known to have run
      if (key != *task.expected) {
        result.end = RunResult::End::Diverged;
        throw Stop{};
      }
      return task.action;
    }
    RunStep step;
    step.key = key;
    step.lines = takeLines(ran);
    step.known = known(key) || !walked.insert(key).second;
    if (!step.known) step.wait = waitInfo(acs);
    const bool goesOn = !step.known && !step.wait.ways.empty();
    std::optional<record::InputAction> first;
    if (goesOn) first = step.wait.ways[0].action;
    result.steps.push_back(std::move(step));
    if (!goesOn) {
      result.end = RunResult::End::AtLastStep;
      throw Stop{};
    }
    return first;
  };
  try {
    acs.run();
  } catch (const Stop&) {
    return result;
  }
  result.end = RunResult::End::Outcome;
  result.outcome = outcomeOf(acs, backend, landedBy);
  result.endLines = takeLines(ran);
  return result;
}

}  // namespace author
