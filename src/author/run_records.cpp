#include "author/run_records.h"

#include <cstring>
#include <type_traits>

namespace author {
namespace {

using record::InputAction;

class Writer {
 public:
  template <typename T>
  Writer& put(T v) {
    static_assert(std::is_trivially_copyable_v<T>);
    bytes_.append(reinterpret_cast<const char*>(&v), sizeof v);
    return *this;
  }
  Writer& text(const std::string& s) {
    put<uint32_t>(static_cast<uint32_t>(s.size()));
    bytes_ += s;
    return *this;
  }
  Writer& action(const InputAction& a) {
    return put<uint8_t>(static_cast<uint8_t>(a.kind)).put<int32_t>(a.n);
  }
  Writer& lines(const std::vector<int>& lines) {
    put<uint32_t>(static_cast<uint32_t>(lines.size()));
    for (int k : lines) put<int16_t>(static_cast<int16_t>(k));
    return *this;
  }
  std::string take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// Reads what a Writer wrote; once anything is missing or out of range, every read fails.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}
  template <typename T>
  bool get(T& v) {
    if (!ok_ || rest_.size() < sizeof v) return ok_ = false;
    std::memcpy(&v, rest_.data(), sizeof v);
    rest_.remove_prefix(sizeof v);
    return true;
  }
  bool text(std::string& s) {
    uint32_t n = 0;
    if (!get(n) || rest_.size() < n) return ok_ = false;
    s.assign(rest_.substr(0, n));
    rest_.remove_prefix(n);
    return true;
  }
  bool action(InputAction& a) {
    uint8_t kind = 0;
    int32_t n = 0;
    if (!get(kind) || !get(n) || kind > InputAction::Rewind) return ok_ = false;
    a.kind = static_cast<InputAction::Kind>(kind);
    a.n = n;
    return true;
  }
  // A count of things still to read, each at least `least` bytes long.
  bool count(uint32_t& n, size_t least) {
    if (!get(n) || n > rest_.size() / least) return ok_ = false;
    return true;
  }
  bool lines(std::vector<int>& lines) {
    uint32_t n = 0;
    if (!count(n, 2)) return false;
    for (uint32_t i = 0; i < n; ++i) {
      int16_t k = 0;
      get(k);
      lines.push_back(k);
    }
    return ok_;
  }
  bool ok() const { return ok_; }
  bool done() const { return ok_ && rest_.empty(); }

 private:
  std::string_view rest_;
  bool ok_ = true;
};

void putWait(Writer& w, const WaitInfo& wait) {
  w.put<int32_t>(wait.line).put<uint8_t>(static_cast<uint8_t>(wait.kind));
  w.put<uint32_t>(static_cast<uint32_t>(wait.ways.size()));
  for (const Way& way : wait.ways) w.action(way.action).text(way.caption);
}

bool getWait(Reader& r, WaitInfo& wait) {
  int32_t line = 0;
  uint8_t kind = 0;
  uint32_t ways = 0;
  if (!r.get(line) || !r.get(kind) || kind > static_cast<uint8_t>(gui::WaitKind::End) ||
      !r.count(ways, 9))
    return false;
  wait.line = line;
  wait.kind = static_cast<gui::WaitKind>(kind);
  wait.ways.resize(ways);
  for (Way& way : wait.ways)
    if (!r.action(way.action) || !r.text(way.caption)) return false;
  return true;
}

void putOutcome(Writer& w, const Outcome& o) {
  w.put<uint8_t>(static_cast<uint8_t>(o.kind)).put<uint8_t>(static_cast<uint8_t>(o.reason));
  w.put<int32_t>(o.line).put(o.flags).text(o.text).put<int32_t>(o.jumpLine);
}

bool getOutcome(Reader& r, Outcome& o) {
  uint8_t kind = 0, reason = 0;
  int32_t line = 0, jump = 0;
  if (!r.get(kind) || !r.get(reason) || !r.get(line) || !r.get(o.flags) || !r.text(o.text) ||
      !r.get(jump))
    return false;
  if (kind > Outcome::Error || reason > static_cast<uint8_t>(engine::EndReason::Limit))
    return false;
  o.kind = static_cast<Outcome::Kind>(kind);
  o.reason = static_cast<engine::EndReason>(reason);
  o.line = line;
  o.jumpLine = jump;
  return true;
}

}  // namespace

std::string taskRecord(const RunTask& task) {
  Writer w;
  w.put<int64_t>(task.index).put<uint8_t>(task.expected.has_value());
  w.put<uint64_t>(task.expected.value_or(0)).put<int32_t>(task.way).action(task.action);
  w.put<uint32_t>(static_cast<uint32_t>(task.path.size()));
  for (const InputAction& a : task.path) w.action(a);
  return w.take();
}

std::optional<RunTask> readTask(std::string_view bytes) {
  Reader r(bytes);
  RunTask task;
  int64_t index = 0;
  uint8_t hasExpected = 0;
  uint64_t expected = 0;
  int32_t way = 0;
  uint32_t actions = 0;
  if (!r.get(index) || !r.get(hasExpected) || !r.get(expected) || !r.get(way) ||
      !r.action(task.action) || !r.count(actions, 5) || hasExpected > 1)
    return std::nullopt;
  task.index = index;
  if (hasExpected) task.expected = expected;
  task.way = way;
  task.path.resize(actions);
  for (InputAction& a : task.path) r.action(a);
  if (!r.done()) return std::nullopt;
  return task;
}

std::string resultRecord(const RunResult& result) {
  Writer w;
  w.put<int64_t>(result.index).put<uint8_t>(static_cast<uint8_t>(result.end));
  w.put<uint32_t>(static_cast<uint32_t>(result.steps.size()));
  for (const RunStep& step : result.steps) {
    w.put<uint64_t>(step.key).put<uint8_t>(step.known).lines(step.lines);
    if (!step.known) putWait(w, step.wait);
  }
  putOutcome(w, result.outcome);
  w.lines(result.endLines).text(result.problem);
  return w.take();
}

std::optional<RunResult> readResult(std::string_view bytes) {
  Reader r(bytes);
  RunResult result;
  int64_t index = 0;
  uint8_t end = 0;
  uint32_t steps = 0;
  if (!r.get(index) || !r.get(end) || end > static_cast<uint8_t>(RunResult::End::Lost) ||
      !r.count(steps, 13))
    return std::nullopt;
  result.index = index;
  result.end = static_cast<RunResult::End>(end);
  result.steps.resize(steps);
  for (RunStep& step : result.steps) {
    uint8_t known = 0;
    if (!r.get(step.key) || !r.get(known) || known > 1 || !r.lines(step.lines)) return std::nullopt;
    step.known = known;
    if (!step.known && !getWait(r, step.wait)) return std::nullopt;
  }
  if (!getOutcome(r, result.outcome) || !r.lines(result.endLines) || !r.text(result.problem) ||
      !r.done())
    return std::nullopt;
  return result;
}

}  // namespace author
