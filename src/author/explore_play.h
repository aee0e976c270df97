#pragma once
// What the explorer needs of one run of the player, however it reaches the run's waits:
// which parts of a state decide where the game goes (learnt from the script), the key of
// the state at a wait, the ways on from it, and how a run ended.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "author/explore_graph.h"
#include "author/explorer.h"
#include "backends/headless/headless_backend.h"
#include "ui/acs.h"

namespace author {

// The script as the explorer reads it, from the checker.
struct ScriptReading {
  std::shared_ptr<const engine::ScriptStore> loaded;  // null when the player cannot load it
  int lines = 0;
  std::vector<bool> runnable;  // as ExploreReport::runnable
  std::vector<bool> data;      // table lines of FP and FJ
  std::vector<bool> returnLive;
  std::array<bool, engine::kFlagCount> decisive{};
};
ScriptReading readScript(const ExploreOptions& options);

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

// The player's options for a run of the script that marks the lines it runs in `linesRun`
// (1201 entries) and keeps the line of its last jump in `landedBy`.
ui::Options runOptions(const ExploreOptions& options, const ScriptReading& script,
                       uint8_t* linesRun, int* landedBy);

// The key of the state at this moment: two moments with the same key go on alike.
uint64_t stateKey(const ui::Acs& acs, const ScriptReading& script);

// The wait the player is at, and its ways on.
WaitInfo waitInfo(const ui::Acs& acs);

// What the last way of a run that has ended led to: an ending, an error, or None.
Outcome outcomeOf(const ui::Acs& acs, const ExploreBackend& backend, int landedBy);

}  // namespace author
