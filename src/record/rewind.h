#pragma once
// Back to the last choice: the game as it stood at the menu wait where the player made
// the last pick, as the inputs that came before that wait. The run is deterministic, so
// replaying them brings back exactly that screen, those flags and that music.
#include <optional>
#include <vector>

#include "record/run_point.h"
#include "record/save_file.h"

namespace record {

// `menuWaits`: the points of the menu waits of the run so far, in order. `waitingAtMenu`:
// the menu wait in progress, if the run waits at one now (a choice not made yet, which
// rewinding skips). The game before the latest menu wait that the player answered, or
// nullopt when there is none.
std::optional<SavedGame> rewound(const SavedGame& game, const std::vector<RunPoint>& menuWaits,
                                 std::optional<RunPoint> waitingAtMenu);

}  // namespace record
