#pragma once
// The graph an exploration builds as it goes: the states at waits by their keys, what each
// way on from them led to, and how many ways could not be followed.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "author/explorer.h"

namespace author {

// What a wait offers: where it is, its kind and its ways on.
struct WaitInfo {
  int line = 0;
  gui::WaitKind kind = gui::WaitKind::Click;
  std::vector<Way> ways;
};

// What a way led to.
struct Outcome {
  enum Kind { None, State, Ending, Error } kind = None;
  uint64_t state = 0;                                 // State: its key
  engine::EndReason reason = engine::EndReason::Eof;  // Ending: Eof or Exit
  int line = 0;                                       // Ending, Error: where the run ended
  engine::Flags flags{};                              // Ending
  std::string text;                                   // Error: lines joined by " / "
  int jumpLine = -1;                                  // Error: see ReachedError

  static Outcome wait(uint64_t key) {
    Outcome o;
    o.kind = State;
    o.state = key;
    return o;
  }
};

// A way: way `way` of the state `from`, or the start (no state before it).
struct WayFrom {
  std::optional<uint64_t> from;
  int way = 0;
};

class ExploreGraph {
 public:
  struct Node {
    WaitInfo wait;
    std::vector<Outcome> next;  // one for each way; None until told
  };

  // False when the state was there already.
  bool addState(uint64_t key, WaitInfo wait);
  // Where a way led; a way from a state not added counts as lost.
  void addOutcome(const WayFrom& at, Outcome to);
  void addLost() { ++lost_; }

  long states() const { return static_cast<long>(nodes_.size()); }
  const Outcome& start() const { return start_; }
  const Node* node(uint64_t key) const;
  long edges() const;
  long lost() const { return lost_; }

 private:
  std::unordered_map<uint64_t, Node> nodes_;
  Outcome start_;
  long lost_ = 0;
};

// What a way of exploring finds: the graph, how many runs it took, whether the limit of
// states stopped it, and the lines run (1201 entries, 1 for a line some run ran).
struct Exploration {
  ExploreGraph graph;
  long runs = 0;
  bool stopped = false;
  std::vector<uint8_t> ran;
};

}  // namespace author
