// The worker processes of playInWorkers. Each has a pipe of its own for its tasks and one
// for its results; the states put in are shared with them as they come, so a run played
// ahead of its turn ends as soon as it reaches a state an earlier run found.
#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <thread>

#include "author/message_frames.h"
#include "author/run_players.h"
#include "author/run_records.h"
#include "author/shared_keys.h"
#include "platform/port.h"
#include "platform/unchanging_files.h"

namespace author {
namespace {

constexpr size_t kReadBytes = 1 << 16;
constexpr size_t kTasksAhead = 6;  // tasks given to a worker beyond the one it plays
// At most this many bytes of tasks wait for a worker, far less than a pipe holds: the
// explorer never waits to give tasks while the worker waits to give results.
constexpr size_t kBytesAhead = 16 << 10;

// A run played in a worker: what the exploration would have met playing it here.
RunResult playSafely(const ExploreOptions& options, const ScriptReading& script,
                     const RunTask& task, const SharedKeys& keys) {
  try {
    return playRun(options, script, task, [&](uint64_t key) { return keys.has(key); });
  } catch (const std::exception& e) {
    RunResult lost;
    lost.index = task.index;
    lost.problem = e.what();
    return lost;
  }
}

struct Worker {
  long id = -1;
  platform::Pipe tasks, results;
  MessageReader messages;
  std::deque<long> given;    // indexes of the tasks given and not answered, oldest first
  std::deque<size_t> sizes;  // and the bytes of each
  size_t bytesGiven = 0;
  bool alive = false;
};

// A worker keeps only its own ends of its own pipes, so that each pipe ends when the one
// process at its other end does.
void keepOwnEnds(std::vector<std::unique_ptr<Worker>>& workers, Worker& self) {
  for (auto& w : workers)
    if (w.get() != &self) {
      w->tasks.closeReading(), w->tasks.closeWriting();
      w->results.closeReading(), w->results.closeWriting();
    }
  self.tasks.closeWriting();
  self.results.closeReading();
}

/* The tasks that came together are answered together (one write, one wake-up of the
   explorer); nullopt when the bytes are no tasks. */
std::optional<std::string> answer(Worker& self, std::string_view bytes,
                                  const ExploreOptions& options, const ScriptReading& script,
                                  const SharedKeys& keys) {
  std::string answers;
  bool understood = true;
  const bool read = self.messages.feed(bytes, [&](std::string_view m) {
    const auto task = readTask(m);
    understood = understood && task;
    if (task) answers += framed(resultRecord(playSafely(options, script, *task, keys)));
  });
  if (!read || !understood) return std::nullopt;
  return answers;
}

// A worker plays the tasks its pipe brings, one after another, and ends when the pipe ends.
[[noreturn]] void serve(std::vector<std::unique_ptr<Worker>>& workers, Worker& self,
                        const ExploreOptions& options, const ScriptReading& script,
                        const SharedKeys& keys) {
  keepOwnEnds(workers, self);
  platform::treatFilesAsUnchanging();  // this process only plays the game, again and again
  std::vector<char> buffer(kReadBytes);
  for (;;) {
    const long n = self.tasks.take(buffer.data(), buffer.size(), true);
    const auto answers =
        n > 0 ? answer(self, {buffer.data(), static_cast<size_t>(n)}, options, script, keys)
              : std::nullopt;
    if (!answers || !self.results.put(answers->data(), answers->size())) platform::endCopy();
  }
}

class Pool {
 public:
  Pool(const ExploreOptions& options, const ScriptReading& script, RunOrder& order,
       const Exploration& found, Progress& progress, SharedKeys& keys)
      : options_(options),
        script_(script),
        order_(order),
        found_(found),
        progress_(progress),
        keys_(keys) {}

  // False when not one worker could be started.
  bool start(int count) {
    for (int i = 0; i < count; ++i) {
      auto w = std::make_unique<Worker>();
      if (!w->tasks.isOpen() || !w->results.isOpen()) break;
      workers_.push_back(std::move(w));
    }
    for (auto& w : workers_) {
      w->id = platform::copyProcess();
      if (w->id == 0) serve(workers_, *w, options_, script_, keys_);
      if (w->id < 0) break;
      w->alive = true;
      w->tasks.closeReading();
      w->results.closeWriting();
    }
    std::erase_if(workers_, [](const auto& w) { return !w->alive; });
    return !workers_.empty();
  }

  // Gives tasks, takes results and puts them in, until every run is done or no worker is
  // left.
  void run() {
    while (!order_.done() && anyAlive()) {
      give();
      if (!pending_.count(order_.putIn())) take();
      putInTurn();
    }
    putInTurn();  // the tasks of workers that ended: lost, in turn
  }

  // Ends the workers: their pipes end.
  void stop() {
    for (auto& w : workers_) {
      w->tasks.closeWriting();
      w->results.closeReading();
      if (w->alive) platform::awaitCopy(w->id);
    }
  }

  int started() const { return static_cast<int>(workers_.size()); }

 private:
  bool anyAlive() const {
    return std::any_of(workers_.begin(), workers_.end(), [](const auto& w) { return w->alive; });
  }

  // Each worker gets tasks up to its share, all in one write.
  void give() {
    for (auto& w : workers_) {
      std::string tasks;
      while (w->alive && w->given.size() <= kTasksAhead &&
             (w->given.empty() || w->bytesGiven < kBytesAhead)) {
        const auto task = order_.next();
        if (!task) break;
        const std::string bytes = framed(taskRecord(*task));
        w->given.push_back(task->index);
        w->sizes.push_back(bytes.size());
        w->bytesGiven += bytes.size();
        tasks += bytes;
      }
      if (!tasks.empty() && !w->tasks.put(tasks.data(), tasks.size())) lose(*w);
    }
  }

  // Waits for a worker to say something and reads what it said.
  void take() {
    std::vector<platform::Pipe*> pipes;
    std::vector<Worker*> owners;
    for (auto& w : workers_)
      if (w->alive) pipes.push_back(&w->results), owners.push_back(w.get());
    const int ready = platform::Pipe::awaitAny(pipes);
    if (ready < 0) {
      for (Worker* w : owners) lose(*w);
      return;
    }
    Worker& w = *owners[ready];
    const long n = w.results.take(buffer_.data(), buffer_.size(), false);
    if (n == 0) return lose(w);
    if (n < 0) return;
    const bool read = w.messages.feed({buffer_.data(), static_cast<size_t>(n)},
                                      [&](std::string_view m) { answered(w, readResult(m)); });
    if (!read) lose(w);
  }

  /* A worker answers its tasks in the order it got them; an answer that cannot be read, or
     that is not for the task it should be, loses that task's run. */
  void answered(Worker& w, std::optional<RunResult> result) {
    if (w.given.empty()) return;
    const long index = w.given.front();
    w.given.pop_front();
    w.bytesGiven -= w.sizes.front();
    w.sizes.pop_front();
    if (!result || result->index != index) {
      result = RunResult{};
      result->index = index;
    }
    pending_[index] = std::move(*result);
  }

  // A worker that ended, or whose pipes failed: its tasks are lost.
  void lose(Worker& w) {
    if (!w.alive) return;
    w.alive = false;
    for (long index : w.given) {
      RunResult lost;
      lost.index = index;
      pending_[index] = lost;
    }
    w.given.clear();
    w.tasks.closeWriting();
    w.results.closeReading();  // a worker stuck writing ends too
    platform::awaitCopy(w.id);
  }

  /* Results are put in in the order of their runs: one that came early waits for those
     before it. A run that could not be played for a reason it gives (no font, no memory)
     ends the exploration as it would have ended it in this process. */
  void putInTurn() {
    for (auto it = pending_.find(order_.putIn()); it != pending_.end();
         it = pending_.find(order_.putIn())) {
      const RunResult result = std::move(it->second);
      pending_.erase(it);
      if (!result.problem.empty()) throw engine::FatalError(engine::kExitUsage, result.problem);
      for (uint64_t key : order_.put(result)) keys_.add(key);
      progress_.update(found_.graph.states());
    }
  }

  const ExploreOptions& options_;
  const ScriptReading& script_;
  RunOrder& order_;
  const Exploration& found_;
  Progress& progress_;
  SharedKeys& keys_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::map<long, RunResult> pending_;  // results that came before their turn
  std::vector<char> buffer_ = std::vector<char>(kReadBytes);
};

int workerCount(const ExploreOptions& options) {
  if (options.workers > 0) return options.workers;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace

int playInWorkers(const ExploreOptions& options, const ScriptReading& script, RunOrder& order,
                  const Exploration& found, Progress& progress) {
  if (!platform::kCanCopyProcess || order.done()) return 0;
  SharedKeys keys(options.maxStates);
  if (!keys.isOpen()) return 0;
  Pool pool(options, script, order, found, progress, keys);
  if (!pool.start(workerCount(options))) return 0;
  try {
    pool.run();
  } catch (...) {
    pool.stop();
    throw;
  }
  pool.stop();
  return pool.started();
}

}  // namespace author
