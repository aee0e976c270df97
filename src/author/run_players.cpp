#include "author/run_players.h"

namespace author {

void playInProcess(const ExploreOptions& options, const ScriptReading& script, RunOrder& order,
                   const Exploration& found, Progress& progress) {
  const KnownState known = [&](uint64_t key) { return order.known(key); };
  while (const auto task = order.next()) {
    order.put(playRun(options, script, *task, known));
    progress.update(found.graph.states());
  }
}

}  // namespace author
