#include "record/wait_replay.h"

#include <algorithm>
#include <set>

namespace record {

SavedGame byWaits(const SavedGame& game, const std::vector<RunPoint>& waits) {
  SavedGame out;
  for (const RecordedInput& in : game.inputs) {
    const auto it = std::lower_bound(waits.begin(), waits.end(), in.at);
    if (it == waits.end() || *it != in.at) continue;
    out.inputs.push_back(
        {waitPoint(static_cast<uint64_t>(it - waits.begin()) + 1, true), in.input});
  }
  return out;
}

int waitsWithInput(const SavedGame& byWaits, uint64_t before) {
  std::set<uint64_t> waits;
  for (const RecordedInput& in : byWaits.inputs)
    if (in.at.pass < before) waits.insert(in.at.pass);
  return static_cast<int>(waits.size());
}

SavedGame upToWait(const SavedGame& byWaits, uint64_t wait) {
  SavedGame out;
  for (const RecordedInput& in : byWaits.inputs)
    if (in.at.pass < wait) out.inputs.push_back(in);
  return out;
}

}  // namespace record
