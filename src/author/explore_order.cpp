#include "author/explore_order.h"

namespace author {

RunOrder::RunOrder(long maxStates, Exploration& found) : maxStates_(maxStates), found_(found) {
  found_.ran.assign(engine::kMaxLines + 1, 0);
}

std::optional<RunTask> RunOrder::next() {
  if (stopped_) return std::nullopt;
  RunTask task;
  task.index = given_;
  if (given_ == 0) {
    ++given_;
    inFlight_.push_back({});
    return task;
  }
  if (!waysLeft()) return std::nullopt;
  const int s = frontier_.front();
  task.path = pathTo(s);
  task.expected = states_[s].key;
  task.way = static_cast<int>(states_[s].given++);
  task.action = states_[s].ways[task.way];
  ++given_;
  inFlight_.push_back({s, task.way});
  return task;
}

bool RunOrder::waysLeft() {
  while (!frontier_.empty()) {
    const State& s = states_[frontier_.front()];
    if (!s.abandoned && s.given < s.ways.size()) return true;
    frontier_.pop_front();
  }
  return false;
}

bool RunOrder::done() { return given_ > 0 && inFlight_.empty() && (stopped_ || !waysLeft()); }

std::vector<record::InputAction> RunOrder::pathTo(int s) const {
  std::vector<record::InputAction> path;
  for (int at = s; states_[at].parent >= 0; at = states_[at].parent)
    path.push_back(states_[states_[at].parent].ways[states_[at].via]);
  return {path.rbegin(), path.rend()};
}

WayFrom RunOrder::wayFrom(int s, int way) const {
  return s < 0 ? WayFrom{} : WayFrom{states_[s].key, way};
}

/* The run's turn: it is not played when the limit of states was reached before it (nor is
   any later run), nor when an earlier run found its state cannot be reached again. */
std::vector<uint64_t> RunOrder::put(const RunResult& result) {
  if (inFlight_.empty()) return {};  // no run was given
  const Given given = inFlight_.front();
  inFlight_.pop_front();
  ++put_;
  if (stopped_ || (given.from >= 0 && states_[given.from].abandoned)) return {};
  if (static_cast<long>(states_.size()) >= maxStates_ && result.index > 0) {
    stopped_ = found_.stopped = true;
    return {};
  }
  ++found_.runs;
  if (result.end == RunResult::End::Diverged || result.end == RunResult::End::Lost) {
    found_.graph.addLost();
    if (given.from >= 0 && result.end == RunResult::End::Diverged)
      states_[given.from].abandoned = true;
    return {};
  }
  return walk(result, given);
}

/* The states of the run in turn, up to the first that an earlier run reached (the run
   ended there, whatever it met after it while it was played ahead of its turn). */
std::vector<uint64_t> RunOrder::walk(const RunResult& result, Given given) {
  std::vector<uint64_t> added;
  int current = given.from, chosen = given.way;
  for (const RunStep& step : result.steps) {
    markLines(step.lines);
    auto it = index_.find(step.key);
    const bool fresh = it == index_.end() && !step.known;
    if (it == index_.end() && step.known) {  // said to be known, yet no earlier run found it
      found_.graph.addLost();
      return added;
    }
    const int s = fresh ? addState(step, current, chosen) : it->second;
    found_.graph.addOutcome(wayFrom(current, chosen), Outcome::wait(step.key));
    if (fresh) added.push_back(step.key);
    if (!fresh || states_[s].ways.empty()) return added;
    current = s, chosen = 0;
  }
  if (result.end != RunResult::End::Outcome) {  // the run was cut short while played ahead
    found_.graph.addLost();
    return added;
  }
  markLines(result.endLines);
  found_.graph.addOutcome(wayFrom(current, chosen), result.outcome);
  return added;
}

int RunOrder::addState(const RunStep& step, int parent, int via) {
  State st;
  st.key = step.key;
  for (const Way& w : step.wait.ways) st.ways.push_back(w.action);
  st.given = st.ways.empty() ? 0 : 1;  // the run that found it takes its first way
  st.parent = parent;
  st.via = via;
  const int s = static_cast<int>(states_.size());
  states_.push_back(std::move(st));
  index_.emplace(step.key, s);
  frontier_.push_back(s);
  found_.graph.addState(step.key, step.wait);
  return s;
}

void RunOrder::markLines(const std::vector<int>& lines) {
  for (int k : lines)
    if (k >= 0 && k <= engine::kMaxLines) found_.ran[k] = 1;
}

}  // namespace author
