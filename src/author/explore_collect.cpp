#include "author/explore_collect.h"

#include <algorithm>
#include <deque>
#include <map>
#include <tuple>

namespace author {
namespace {

// The walk's findings before endings are grouped: each distinct ending (how, where, with
// which flags) and error (by its text) once, in the order the walk reaches it.
class Walk {
 public:
  Walk(const ExploreGraph& graph, ExploreReport& report) : graph_(graph), report_(report) {}

  void run() {
    report_.start = reach(graph_.start(), -1, 0);
    while (!queue_.empty()) {
      const int s = queue_.front();
      queue_.pop_front();
      const ExploreGraph::Node& node = *nodes_[s];
      for (size_t w = 0; w < node.next.size(); ++w)
        report_.waits[s].next[w] = reach(node.next[w], s, static_cast<int>(w));
    }
  }

  // The endings as the walk found them, before they are grouped.
  std::vector<Ending> takeEndings() { return std::move(endings_); }

  Path pathTo(int s) const {
    Path p;
    for (int at = s; at >= 0 && parent_[at] >= 0; at = parent_[at])
      p.push_back(report_.waits[parent_[at]].ways[via_[at]].action);
    return Path(p.rbegin(), p.rend());
  }

 private:
  Step reach(const Outcome& to, int from, int way) {
    switch (to.kind) {
      case Outcome::State:
        return reachState(to.state, from, way);
      case Outcome::Ending:
        return {Step::Ending, endingIndex(to, from, way)};
      case Outcome::Error:
        return {Step::Error, errorIndex(to, from, way)};
      case Outcome::None:
        break;
    }
    return {};
  }

  Step reachState(uint64_t key, int from, int way) {
    auto [it, fresh] = index_.try_emplace(key, static_cast<int>(nodes_.size()));
    if (fresh) {
      const ExploreGraph::Node* node = graph_.node(key);
      if (!node) {  // told of, never described: lost
        index_.erase(it);
        ++report_.lost;
        return {};
      }
      nodes_.push_back(node);
      parent_.push_back(from);
      via_.push_back(way);
      report_.waits.push_back({node->wait.line, node->wait.kind, node->wait.ways,
                               std::vector<Step>(node->next.size())});
      queue_.push_back(it->second);
    }
    return {Step::Wait, it->second};
  }

  Path pathThrough(int from, int way) const {
    if (from < 0) return {};
    Path path = pathTo(from);
    path.push_back(report_.waits[from].ways[way].action);
    return path;
  }

  int endingIndex(const Outcome& to, int from, int way) {
    const auto key = std::make_tuple(static_cast<int>(to.reason), to.line, to.flags);
    auto [it, fresh] = endingIndex_.try_emplace(key, static_cast<int>(endings_.size()));
    if (fresh) endings_.push_back({to.reason, to.line, to.flags, pathThrough(from, way)});
    return it->second;
  }

  int errorIndex(const Outcome& to, int from, int way) {
    auto [it, fresh] = errorIndex_.try_emplace(to.text, static_cast<int>(report_.errors.size()));
    if (fresh) report_.errors.push_back({to.text, to.line, to.jumpLine, pathThrough(from, way)});
    return it->second;
  }

  const ExploreGraph& graph_;
  ExploreReport& report_;
  std::vector<const ExploreGraph::Node*> nodes_;
  std::vector<int> parent_, via_;  // the state and way each wait was first reached by
  std::vector<Ending> endings_;
  std::unordered_map<uint64_t, int> index_;
  std::deque<int> queue_;
  std::map<std::tuple<int, int, engine::Flags>, int> endingIndex_;
  std::map<std::string, int> errorIndex_;
};

/* Endings are told apart by how and where the script ends: of the flag sets one ending
   is reached with, the one its shortest path gives is shown (the walk reaches the
   shortest first). The steps that lead to an ending come to name its group. */
void groupEndings(std::vector<Ending> found, ExploreReport& report) {
  std::vector<int> groupOf(found.size());
  for (size_t i = 0; i < found.size(); ++i) {
    const Ending& e = found[i];
    auto same = std::find_if(report.endings.begin(), report.endings.end(), [&](const Ending& g) {
      return g.reason == e.reason && g.line == e.line;
    });
    if (same == report.endings.end()) {
      groupOf[i] = static_cast<int>(report.endings.size());
      report.endings.push_back(e);
    } else {
      groupOf[i] = static_cast<int>(same - report.endings.begin());
      ++same->variants;
      if (e.path.size() < same->path.size()) {
        same->flags = e.flags;
        same->path = e.path;
      }
    }
  }
  auto regroup = [&](Step& step) {
    if (step.kind == Step::Ending) step.index = groupOf[step.index];
  };
  regroup(report.start);
  for (ExploredWait& w : report.waits)
    for (Step& step : w.next) regroup(step);
}

// The waits from which some ending or error can be reached (or a way that was not taken).
std::vector<bool> leadingOn(const ExploreReport& r) {
  const size_t n = r.waits.size();
  std::vector<std::vector<int>> into(n);
  std::vector<bool> leads(n, false);
  std::deque<int> back;
  for (size_t s = 0; s < n; ++s)
    for (const Step& t : r.waits[s].next) {
      if (t.kind == Step::Wait) into[t.index].push_back(static_cast<int>(s));
      if (t.kind != Step::Wait && !leads[s]) {
        leads[s] = true;
        back.push_back(static_cast<int>(s));
      }
    }
  while (!back.empty()) {
    const int s = back.front();
    back.pop_front();
    for (int p : into[s])
      if (!leads[p]) {
        leads[p] = true;
        back.push_back(p);
      }
  }
  return leads;
}

/* Of the waits that lead to no outcome, those where the game stays: every way on comes
   back to the same line and kind of wait (the others lead into such a place). */
void gatherDeadEnds(const Walk& walk, ExploreReport& r) {
  static const char* const kinds[] = {"click", "menu", "poll", "end"};
  const std::vector<bool> leads = leadingOn(r);
  auto staysPut = [&](const ExploredWait& w) {
    for (const Step& t : w.next)
      if (t.kind == Step::Wait &&
          (r.waits[t.index].line != w.line || r.waits[t.index].kind != w.kind))
        return false;
    return true;
  };
  std::map<std::pair<int, int>, size_t> byPlace;
  for (size_t s = 0; s < r.waits.size(); ++s) {
    if (leads[s] || !staysPut(r.waits[s])) continue;
    const int kind = std::min(static_cast<int>(r.waits[s].kind), 3);
    const auto place = std::make_pair(r.waits[s].line, kind);
    auto [it, fresh] = byPlace.try_emplace(place, r.deadEnds.size());
    if (fresh)
      r.deadEnds.push_back({place.first, kinds[kind], 0, walk.pathTo(static_cast<int>(s))});
    ++r.deadEnds[it->second].states;
  }
}

}  // namespace

void collect(const ExploreGraph& graph, ExploreReport& report) {
  Walk walk(graph, report);
  walk.run();
  groupEndings(walk.takeEndings(), report);
  gatherDeadEnds(walk, report);
  report.states = graph.states();
  report.edges = graph.edges();
  report.lost += graph.lost();
  if (report.lost > 0) report.complete = false;
}

}  // namespace author
