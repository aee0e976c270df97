#pragma once
// The line that says how far a long exploration has come: the states found and how many
// a second. Nothing while the exploration is younger than a second; then, on a terminal,
// one line rewritten in place several times a second (ended when the exploration is
// done), elsewhere one line every few seconds.
#include <functional>
#include <ostream>

namespace author {

class Progress {
 public:
  // Seconds since the exploration began.
  using Clock = std::function<double()>;

  // `out` null: no line at all. Without a clock, the steady clock from now.
  Progress(std::ostream* out, bool inPlace, Clock clock = {});

  void update(long states);
  void finish(long states);

 private:
  void show(long states, double now);

  std::ostream* out_;
  bool inPlace_;
  Clock clock_;
  double shownAt_ = -1;  // when the last line was shown; -1: none yet
};

}  // namespace author
