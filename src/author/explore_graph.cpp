#include "author/explore_graph.h"

namespace author {

bool ExploreGraph::addState(uint64_t key, WaitInfo wait) {
  const size_t ways = wait.ways.size();
  auto [it, fresh] = nodes_.try_emplace(key);
  if (!fresh) return false;
  it->second.wait = std::move(wait);
  it->second.next.assign(ways, Outcome{});
  return true;
}

void ExploreGraph::addOutcome(const WayFrom& at, Outcome to) {
  if (to.kind == Outcome::None) return;
  if (!at.from) {
    start_ = std::move(to);
    return;
  }
  auto it = nodes_.find(*at.from);
  if (it == nodes_.end() || at.way < 0 || at.way >= static_cast<int>(it->second.next.size())) {
    ++lost_;
    return;
  }
  it->second.next[at.way] = std::move(to);
}

const ExploreGraph::Node* ExploreGraph::node(uint64_t key) const {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : &it->second;
}

long ExploreGraph::edges() const {
  long n = 0;
  for (const auto& [key, node] : nodes_)
    for (const Outcome& o : node.next) n += o.kind != Outcome::None;
  return n;
}

}  // namespace author
