#pragma once
// The clock of a run that saves are made of: the pass of the interpreter loop, and which
// place inside that pass where events are processed (a wait for the user, a timed wait,
// the end of the pass).
#include "record/run_point.h"

namespace record {

class RunClock {
 public:
  // Once per pass of the interpreter loop, before its command.
  void beginPass() {
    ++point_.pass;
    point_.site = 0;
  }
  // A place where events are processed begins.
  void markSite() { ++point_.site; }
  RunPoint point() const { return point_; }

 private:
  RunPoint point_;
};

}  // namespace record
