#include "author/map_layout.h"

#include <algorithm>
#include <deque>
#include <numeric>

namespace author {
namespace {

constexpr double kColumn = kMapPlaceWidth + 60, kRow = kMapPlaceHeight + 84, kMargin = 40;

// The places and moves, before they are laid out.
class Grouping {
 public:
  explicit Grouping(const ExploreReport& r) {
    add(place(MapPlace::Start, 1));
    for (const ExploredWait& w : r.waits) waitPlaces_.push_back(placeOfWait(w));
    for (const Ending& e : r.endings)
      endingPlaces_.push_back(add(
          place(MapPlace::Ending, e.line, e.reason == engine::EndReason::Eof ? "EOF" : "EXIT")));
    for (const ReachedError& e : r.errors)
      errorPlaces_.push_back(add(place(MapPlace::Error, e.line, e.text)));
    for (const DeadEnd& d : r.deadEnds) markDeadEnd(d);
    link(0, r.start, "start");
    for (size_t s = 0; s < r.waits.size(); ++s)
      for (size_t w = 0; w < r.waits[s].ways.size(); ++w)
        link(waitPlaces_[s], r.waits[s].next[w], wayLabel(r.waits[s].ways[w]));
  }

  MapLayout take() { return std::move(layout_); }

 private:
  static MapPlace place(MapPlace::Kind kind, int line, std::string text = {}) {
    MapPlace p;
    p.kind = kind;
    p.line = line;
    p.text = std::move(text);
    return p;
  }

  int add(MapPlace p) {
    layout_.places.push_back(std::move(p));
    return static_cast<int>(layout_.places.size()) - 1;
  }

  int placeOfWait(const ExploredWait& w) {
    const auto key = std::make_pair(w.line, static_cast<int>(w.kind));
    auto [it, fresh] = byLine_.try_emplace(key, 0);
    if (fresh) {
      it->second = add(place(MapPlace::Wait, w.line));
      layout_.places[it->second].wait = w.kind;
      layout_.places[it->second].lines = {w.line};
    }
    ++layout_.places[it->second].states;
    return it->second;
  }

  void markDeadEnd(const DeadEnd& d) {
    for (auto& [key, place] : byLine_)
      if (key.first == d.line && waitKindText(layout_.places[place].wait) == d.kind)
        layout_.places[place].deadEnd = true;
  }

  void link(int from, const Step& step, const std::string& label) {
    int to = -1;
    if (step.kind == Step::Wait) to = waitPlaces_[step.index];
    if (step.kind == Step::Ending) to = endingPlaces_[step.index];
    if (step.kind == Step::Error) to = errorPlaces_[step.index];
    if (to < 0) return;
    auto [it, fresh] = moveIndex_.try_emplace({from, to}, layout_.moves.size());
    if (fresh) layout_.moves.push_back({from, to, {}});
    ++layout_.moves[it->second].labels[label];
  }

  MapLayout layout_;
  std::map<std::pair<int, int>, int> byLine_;
  std::vector<int> waitPlaces_, endingPlaces_, errorPlaces_;
  std::map<std::pair<int, int>, size_t> moveIndex_;
};

bool isClickWait(const MapPlace& p) {
  return p.kind == MapPlace::Wait && p.wait == gui::WaitKind::Click;
}

/* Which place each place joins: a click wait whose one way on (besides staying put) leads
   to a click wait reached from nowhere else takes that one in, and so on down the chain. */
std::vector<int> clickChains(const MapLayout& m) {
  const size_t n = m.places.size();
  std::vector<int> into(n, 0), outOf(n, 0), onlyOut(n, -1), owner(n);
  for (size_t i = 0; i < m.moves.size(); ++i) {
    const MapMove& move = m.moves[i];
    if (move.loop()) continue;
    ++into[move.to], ++outOf[move.from];
    onlyOut[move.from] = static_cast<int>(i);
  }
  std::iota(owner.begin(), owner.end(), 0);
  for (size_t p = 0; p < n; ++p) {
    if (owner[p] != static_cast<int>(p) || !isClickWait(m.places[p])) continue;
    for (int at = static_cast<int>(p); outOf[at] == 1;) {
      const int q = m.moves[onlyOut[at]].to;
      if (!isClickWait(m.places[q]) || into[q] != 1 || owner[q] != q || q == static_cast<int>(p))
        break;
      owner[q] = static_cast<int>(p);
      at = q;
    }
  }
  return owner;
}

// The chains made one place each: lines, states and moves together; the moves along a
// chain are gone.
void joinClickChains(MapLayout& m) {
  const std::vector<int> owner = clickChains(m);
  std::vector<int> index(m.places.size(), -1);
  std::vector<MapPlace> places;
  for (size_t p = 0; p < m.places.size(); ++p)
    if (owner[p] == static_cast<int>(p)) {
      index[p] = static_cast<int>(places.size());
      places.push_back(m.places[p]);
    }
  for (size_t p = 0; p < m.places.size(); ++p) {
    if (owner[p] == static_cast<int>(p)) continue;
    MapPlace& into = places[index[owner[p]]];
    into.lines.insert(into.lines.end(), m.places[p].lines.begin(), m.places[p].lines.end());
    into.states += m.places[p].states;
    into.deadEnd = into.deadEnd || m.places[p].deadEnd;
  }
  std::map<std::pair<int, int>, size_t> at;
  std::vector<MapMove> moves;
  for (const MapMove& move : m.moves) {
    const int from = index[owner[move.from]], to = index[owner[move.to]];
    if (from == to && !move.loop()) continue;  // along a chain
    auto [it, fresh] = at.try_emplace({from, to}, moves.size());
    if (fresh) moves.push_back({from, to, {}});
    for (const auto& [label, count] : move.labels) moves[it->second].labels[label] += count;
  }
  m.places = std::move(places);
  m.moves = std::move(moves);
}

// Each place's row: the fewest moves from the start (places never reached go last).
void assignRows(MapLayout& m) {
  std::vector<std::vector<int>> out(m.places.size());
  for (const MapMove& move : m.moves) out[move.from].push_back(move.to);
  std::vector<int> row(m.places.size(), -1);
  std::deque<int> queue{0};
  row[0] = 0;
  while (!queue.empty()) {
    const int p = queue.front();
    queue.pop_front();
    for (int q : out[p])
      if (row[q] < 0) {
        row[q] = row[p] + 1;
        queue.push_back(q);
      }
  }
  const int last = *std::max_element(row.begin(), row.end()) + 1;
  for (size_t p = 0; p < row.size(); ++p) m.places[p].row = row[p] < 0 ? last : row[p];
}

/* Within a row, places go in the order of the mean place of the places that lead to them
   from the rows above (a few sweeps down the rows), so moves between rows cross less. */
std::vector<std::vector<int>> orderRows(const MapLayout& m) {
  int rows = 0;
  for (const MapPlace& p : m.places) rows = std::max(rows, p.row + 1);
  std::vector<std::vector<int>> order(rows);
  for (size_t p = 0; p < m.places.size(); ++p)
    order[m.places[p].row].push_back(static_cast<int>(p));
  std::vector<double> at(m.places.size(), 0);
  for (int sweep = 0; sweep < 4; ++sweep)
    for (auto& row : order) {
      std::vector<double> sum(m.places.size(), 0), count(m.places.size(), 0);
      for (const MapMove& move : m.moves)
        if (m.places[move.from].row < m.places[move.to].row)
          sum[move.to] += at[move.from], ++count[move.to];
      auto centre = [&](int p) { return count[p] ? sum[p] / count[p] : at[p]; };
      std::stable_sort(row.begin(), row.end(), [&](int a, int b) { return centre(a) < centre(b); });
      for (size_t i = 0; i < row.size(); ++i)
        at[row[i]] = static_cast<double>(i) - row.size() / 2.0;
    }
  return order;
}

void place(MapLayout& m, const std::vector<std::vector<int>>& order) {
  size_t widest = 1;
  for (const auto& row : order) widest = std::max(widest, row.size());
  m.width = 2 * kMargin + widest * kColumn;
  m.height = 2 * kMargin + order.size() * kRow;
  for (size_t r = 0; r < order.size(); ++r) {
    const double left = kMargin + (widest - order[r].size()) * kColumn / 2;
    for (size_t i = 0; i < order[r].size(); ++i) {
      MapPlace& p = m.places[order[r][i]];
      p.x = left + (i + 0.5) * kColumn;
      p.y = kMargin + (r + 0.5) * kRow;
    }
  }
}

}  // namespace

std::string waitKindText(gui::WaitKind kind) {
  static const char* const names[] = {"click", "menu", "poll", "end"};
  return names[std::min(static_cast<int>(kind), 3)];
}

std::string wayLabel(const Way& way) {
  const std::string action = actionText(way.action);
  return way.caption.empty() ? action : action + " 「" + way.caption + "」";
}

MapLayout layOutMap(const ExploreReport& report) {
  MapLayout m = Grouping(report).take();
  joinClickChains(m);
  assignRows(m);
  place(m, orderRows(m));
  return m;
}

}  // namespace author
