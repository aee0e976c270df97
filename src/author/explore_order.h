#pragma once
// The order of the runs, and what each adds to the exploration. Runs are numbered as one
// player alone would play them: the first from line 1; then, for each state in the order
// the runs found it, one run for each of its ways but the first (which the run that found
// it took). A run may be played before the runs ahead of it are done, but its result is
// put in only in that order: a state belongs to the first run in order that reached it,
// and a run ends at the first state an earlier run reached. So the exploration is the same
// however many runs are played at once and whenever each ends.
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

#include "author/explore_graph.h"
#include "author/explore_run.h"

namespace author {

class RunOrder {
 public:
  RunOrder(long maxStates, Exploration& found);

  // The next run, when it can be told now (its state is known and has a way left).
  std::optional<RunTask> next();
  // Puts in the result of the oldest run given and not yet put in (results come in the
  // order of their indexes). Returns the states it added.
  std::vector<uint64_t> put(const RunResult& result);
  // Whether every run given was put in and no other can follow.
  bool done();
  bool known(uint64_t key) const { return index_.count(key) != 0; }
  long given() const { return given_; }
  long putIn() const { return put_; }

 private:
  struct State {
    uint64_t key = 0;
    std::vector<record::InputAction> ways;
    size_t given = 0;  // ways taken or given to runs
    int parent = -1;   // the state and way it was first reached by
    int via = 0;
    bool abandoned = false;  // a replay to it went another way: no more runs from it
  };
  struct Given {
    int from = -1;  // -1: the start
    int way = 0;
  };

  bool waysLeft();  // whether a state found has a way left to give
  std::vector<record::InputAction> pathTo(int s) const;
  WayFrom wayFrom(int s, int way) const;
  std::vector<uint64_t> walk(const RunResult& result, Given given);
  int addState(const RunStep& step, int parent, int via);
  void markLines(const std::vector<int>& lines);

  long maxStates_;
  Exploration& found_;
  std::vector<State> states_;
  std::unordered_map<uint64_t, int> index_;
  std::deque<int> frontier_;    // states in the order found, while they have ways to give
  std::deque<Given> inFlight_;  // given and not yet put in, oldest first
  long given_ = 0, put_ = 0;
  bool stopped_ = false;
};

}  // namespace author
