#include "backends/sdl/library_thread.h"

#include "platform/port.h"

namespace backends::sdl {

LibraryThread::LibraryThread() {
  if (platform::kHasThreads) thread_ = std::thread([this] { run(); });
}

LibraryThread::~LibraryThread() {
  finish();
  *alive_ = false;
}

void LibraryThread::post(Job job) {
  {
    std::lock_guard hold(mutex_);
    if (thread_.joinable()) {
      jobs_.push_back(std::move(job));
      posted_.notify_one();
      return;
    }
  }
  jobs_.push_back(std::move(job));
  runHere();
}

void LibraryThread::finish() {
  {
    std::lock_guard hold(mutex_);
    ending_ = true;
    posted_.notify_one();
  }
  if (thread_.joinable()) thread_.join();
  runHere();  // what waited for instruments runs now, without those still to come
}

void LibraryThread::run() {
  std::unique_lock hold(mutex_);
  for (;;) {
    posted_.wait(hold, [this] { return ending_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    hold.unlock();
    job();
    hold.lock();
  }
}

// The jobs posted without the thread, in order; in a page the first that finds
// instruments on their way waits, with those after it, until they have come, and they
// then run from the page's event loop. Elsewhere nothing is ever on its way.
void LibraryThread::runHere() {
  if (running_) return;
  running_ = true;
  while (!jobs_.empty()) {
    if (!ending_ && platform::instrumentsOnTheirWay()) {
      if (!awaiting_) {
        awaiting_ = true;
        platform::whenInstrumentsArrive([this, alive = alive_] {
          if (!*alive) return;
          awaiting_ = false;
          runHere();
        });
      }
      break;
    }
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    job();
  }
  running_ = false;
}

}  // namespace backends::sdl
