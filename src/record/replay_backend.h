#pragma once
// The backend that loads a saved game: it first replays the recorded input, each at the
// point of the run where it came, on a silent virtual clock that never waits and shows
// nothing; when no input is left and the engine waits, it hands over to the live backend,
// and from then on passes everything through, telling each live input with its point.
#include <deque>
#include <functional>
#include <stdexcept>
#include <vector>

#include "gui/backend.h"
#include "gui/silent_mixer.h"
#include "record/run_point.h"
#include "record/save_file.h"

namespace record {

// The replay went another way than the game that was saved (the script changed).
struct ReplayMismatch : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class ReplayBackend : public gui::Backend {
 public:
  // `point` tells where the run is. Without `replay` everything passes through at once.
  ReplayBackend(gui::Backend& live, bool replay, std::vector<RecordedInput> inputs,
                std::function<RunPoint()> point);

  bool replaying() const { return replaying_; }
  // A game replayed onto a changed script stops where its input no longer fits (an input
  // the run went past, a wait that its input does not end) and hands over there, instead
  // of failing.
  void setLandsWhereItStops(bool on) { lands_ = on; }
  // No more input to replay: the next wait for the user hands over.
  void stopReplay() { replay_.clear(); }
  // Every replayed input as it is given to the run.
  std::function<void(const gui::RawInput&)> onReplayedInput;
  // Called once at the hand-over with how far the live clock is from the virtual one.
  std::function<void(int32_t delta)> onHandOver;
  // Every input from the live backend, with the point where it came.
  std::function<void(const RecordedInput&)> onLiveInput;

  uint32_t ticks() override;
  std::optional<gui::RawInput> nextInput() override;
  void wait(gui::Wait why, std::optional<uint32_t> deadline) override;
  void present(gui::FrameSource& source) override;
  void setTitle(const std::string& title) override { live_.setTitle(title); }
  void setCursor(gui::Cursor cursor) override { live_.setCursor(cursor); }
  int ask(const gui::MessageBox& box) override;
  gui::Mixer& mixer() override;
  void setFullscreen(bool on) override { live_.setFullscreen(on); }
  void watchFile(const std::filesystem::path& file) override { live_.watchFile(file); }
  void expectMedia(const engine::MediaNamed& named) override { live_.expectMedia(named); }

 private:
  void handOver();

  gui::Backend& live_;
  std::deque<RecordedInput> replay_;
  std::function<RunPoint()> point_;
  bool replaying_;
  bool lands_ = false;
  uint32_t clock_;
  gui::SilentMixer silent_{[this] { return clock_; }};
};

}  // namespace record
