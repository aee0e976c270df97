#pragma once
// Where the runs are played: one after another in this process, or several at once in
// worker processes (copies of this program made when the exploration starts, one for each
// processor). Either way the results go into the order of runs in turn, so the
// exploration is the same.
#include "author/explore_order.h"
#include "author/explore_play.h"
#include "author/explore_progress.h"

namespace author {

// Plays the runs still to come, or at most `most` of them.
void playInProcess(const ExploreOptions& options, const ScriptReading& script, RunOrder& order,
                   const Exploration& found, Progress& progress, long most = -1);

// Plays the runs in worker processes; returns how many were started: 0 where this program
// cannot be copied or no run is left (nothing was played). When the workers end before the runs do,
// the rest is left to playInProcess.
int playInWorkers(const ExploreOptions& options, const ScriptReading& script, RunOrder& order,
                  const Exploration& found, Progress& progress);

}  // namespace author
