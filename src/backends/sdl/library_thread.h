#pragma once
// One thread that makes every call into a library that must not be called from two
// threads at once: jobs run one after another, in the order they were posted, and the
// thread that posts them never waits for one. In a page, which has no threads, a job
// runs as it is posted, or, while the instruments a piece needs are being fetched, once
// they have come (with the jobs posted after it, in order).
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace backends::sdl {

class LibraryThread {
 public:
  using Job = std::function<void()>;

  LibraryThread();
  ~LibraryThread();  // runs what was posted, then ends
  LibraryThread(const LibraryThread&) = delete;
  LibraryThread& operator=(const LibraryThread&) = delete;

  void post(Job job);
  // Runs what was posted and ends the thread; later jobs run as they are posted.
  void finish();

 private:
  void run();
  // Without the thread (in a page, or once finished): runs the jobs posted, as far as
  // the instruments on their way allow.
  void runHere();
  bool running_ = false;   // runHere is running the jobs
  bool awaiting_ = false;  // runHere is to be called when the instruments have come
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Job> jobs_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace backends::sdl
