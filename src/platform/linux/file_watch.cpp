// Watching a file with inotify: the folder is watched (an editor that saves by writing a new
// file and renaming it over the old one replaces the file, and a watch on the file itself
// would end with it), and only events that name the file count.
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <thread>

#include "platform/port.h"

namespace platform {
namespace {

constexpr int kSettleMs = 80;  // a burst of writes within this time is one change

class InotifyWatch final : public FileWatch {
 public:
  InotifyWatch(int fd, int stop[2], std::string name, std::function<void()> changed)
      : fd_(fd),
        stopRead_(stop[0]),
        stopWrite_(stop[1]),
        name_(std::move(name)),
        changed_(std::move(changed)),
        thread_([this] { run(); }) {}
  ~InotifyWatch() override {
    const char byte = 0;
    (void)!write(stopWrite_, &byte, 1);
    thread_.join();
    close(fd_), close(stopRead_), close(stopWrite_);
  }

 private:
  void run() {
    for (bool pending = false;;) {
      pollfd fds[2] = {{fd_, POLLIN, 0}, {stopRead_, POLLIN, 0}};
      const int ready = poll(fds, 2, pending ? kSettleMs : -1);
      if (ready < 0) continue;
      if (fds[1].revents) return;
      if (ready == 0) {  // quiet since the last write: the change is complete
        pending = false;
        changed_();
        continue;
      }
      pending = readEvents() || pending;
    }
  }

  // Whether the events waiting name the file.
  bool readEvents() {
    alignas(inotify_event) char buffer[4096];
    const ssize_t n = read(fd_, buffer, sizeof buffer);
    bool named = false;
    for (ssize_t at = 0; n > 0 && at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
      if (e->len > 0 && name_ == e->name) named = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
    return named;
  }

  int fd_, stopRead_, stopWrite_;
  std::string name_;
  std::function<void()> changed_;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<FileWatch> watchFile(const std::filesystem::path& file,
                                     std::function<void()> changed) {
  const int fd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (fd < 0) return nullptr;
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  int stop[2];
  if (inotify_add_watch(fd, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE) < 0 ||
      pipe2(stop, O_CLOEXEC) != 0) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<InotifyWatch>(fd, stop, file.filename().string(), std::move(changed));
}

}  // namespace platform
