#pragma once
// A game replayed onto a changed script. Points of passes do not survive an edit (an
// inserted line shifts every pass after it), but the waits for the player do: each input
// that came at a wait is given to the changed script at the wait of the same number. Input
// that came between waits (a click that hurried the typing) is left out: it changes how
// soon the text shows, not where the game goes.
#include <vector>

#include "record/run_point.h"
#include "record/save_file.h"

namespace record {

// The point of a run counted in waits: `pass` is the number of waits announced so far
// (the first is 1), `site` 0 while the run waits there and 1 after it.
inline RunPoint waitPoint(uint64_t waits, bool waiting) { return {waits, waiting ? 0u : 1u}; }

// The inputs of `game` that came at one of `waits` (the points of the run's waits, in
// order), each at the wait point of its wait.
SavedGame byWaits(const SavedGame& game, const std::vector<RunPoint>& waits);

// How many waits of a game by waits have input, and of those, how many come before wait
// number `reached`.
int waitsWithInput(const SavedGame& byWaits, uint64_t before = UINT64_MAX);

// The game by waits up to (not including) wait number `wait`.
SavedGame upToWait(const SavedGame& byWaits, uint64_t wait);

}  // namespace record
