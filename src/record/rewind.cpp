#include "record/rewind.h"

#include <algorithm>

namespace record {

/* A menu wait was answered when an input came at it or later; the latest such wait before
   the one in progress is the last choice. */
std::optional<SavedGame> rewound(const SavedGame& game, const std::vector<RunPoint>& menuWaits,
                                 std::optional<RunPoint> waitingAtMenu) {
  const auto answered = [&](const RunPoint& p) {
    return std::any_of(game.inputs.begin(), game.inputs.end(),
                       [&](const RecordedInput& in) { return !(in.at < p); });
  };
  for (auto it = menuWaits.rbegin(); it != menuWaits.rend(); ++it) {
    if (waitingAtMenu && !(*it < *waitingAtMenu)) continue;
    if (!answered(*it)) continue;
    SavedGame before;
    for (const RecordedInput& in : game.inputs)
      if (in.at < *it) before.inputs.push_back(in);
    return before;
  }
  return std::nullopt;
}

}  // namespace record
