#include "record/replay_backend.h"

namespace record {

ReplayBackend::ReplayBackend(gui::Backend& live, bool replay, std::vector<RecordedInput> inputs,
                             std::function<RunPoint()> point)
    : live_(live),
      replay_(inputs.begin(), inputs.end()),
      point_(std::move(point)),
      replaying_(replay),
      clock_(live.ticks()) {}

uint32_t ReplayBackend::ticks() { return replaying_ ? clock_ : live_.ticks(); }

/* A recorded input comes at its own point; the run having gone past that point means it
   took another way. */
std::optional<gui::RawInput> ReplayBackend::nextInput() {
  if (!replaying_) {
    auto in = live_.nextInput();
    if (in && onLiveInput) onLiveInput({point_(), *in});
    return in;
  }
  if (replay_.empty()) return std::nullopt;
  const RunPoint now = point_();
  if (replay_.front().at < now) {
    if (!lands_) throw ReplayMismatch("the game went another way: it passed an input");
    stopReplay();
    return std::nullopt;
  }
  if (now < replay_.front().at) return std::nullopt;
  gui::RawInput in = replay_.front().input;
  replay_.pop_front();
  if (onReplayedInput) onReplayedInput(in);
  return in;
}

/* While replaying nothing waits: timed waits move the virtual clock on, and a wait for
   the user either finds its input at this point, or is the wait where the game was saved
   (no input left), or shows that the run went another way. */
void ReplayBackend::wait(gui::Wait why, std::optional<uint32_t> deadline) {
  if (!replaying_) return live_.wait(why, deadline);
  switch (why) {
    case gui::Wait::Input:
    case gui::Wait::Poll:
    case gui::Wait::Idle:
      if (replay_.empty()) {
        handOver();
        return live_.wait(why, deadline);
      }
      if (why == gui::Wait::Input && replay_.front().at != point_()) {
        if (!lands_) throw ReplayMismatch("the game went another way: it waits where it did not");
        stopReplay();
        handOver();
        return live_.wait(why, deadline);
      }
      return;
    case gui::Wait::Time:
    case gui::Wait::Blocked:
      if (deadline && static_cast<int32_t>(*deadline - clock_) > 0) clock_ = *deadline;
      return;
  }
}

void ReplayBackend::handOver() {
  replaying_ = false;
  const auto delta = static_cast<int32_t>(live_.ticks() - clock_);
  silent_.haltMusic();
  silent_.stopWave();
  if (onHandOver) onHandOver(delta);
}

void ReplayBackend::present(gui::FrameSource& source) {
  if (!replaying_) live_.present(source);
}

int ReplayBackend::ask(const gui::MessageBox& box) {
  if (replaying_) throw ReplayMismatch("the game stopped with a box: " + box.text);
  return live_.ask(box);
}

gui::Mixer& ReplayBackend::mixer() { return replaying_ ? silent_ : live_.mixer(); }

}  // namespace record
