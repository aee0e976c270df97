#include "author/run_players.h"

namespace author {

void playInProcess(const ExploreOptions& options, const ScriptReading& script, RunOrder& order,
                   const Exploration& found, Progress& progress, long most) {
  const KnownState known = [&](uint64_t key) { return order.known(key); };
  for (long played = 0; played != most; ++played) {
    const auto task = order.next();
    if (!task) return;
    order.put(playRun(options, script, *task, known));
    progress.update(found.graph.states());
  }
}

}  // namespace author
