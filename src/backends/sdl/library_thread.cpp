#include "backends/sdl/library_thread.h"

#include "platform/port.h"

namespace backends::sdl {

LibraryThread::LibraryThread() {
  if (platform::kHasThreads) thread_ = std::thread([this] { run(); });
}

LibraryThread::~LibraryThread() { finish(); }

void LibraryThread::post(Job job) {
  {
    std::lock_guard hold(mutex_);
    if (thread_.joinable()) {
      jobs_.push_back(std::move(job));
      posted_.notify_one();
      return;
    }
  }
  job();
}

void LibraryThread::finish() {
  {
    std::lock_guard hold(mutex_);
    ending_ = true;
    posted_.notify_one();
  }
  if (thread_.joinable()) thread_.join();
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

}  // namespace backends::sdl
