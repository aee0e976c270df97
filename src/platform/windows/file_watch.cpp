// Watching a file on Windows: a change notification on its folder, then a look at the
// file's time and size, so that changes to other files of the folder do not count.
#include <windows.h>

#include <thread>

#include "platform/port.h"

namespace platform {
namespace {

constexpr DWORD kSettleMs = 80;  // a burst of writes within this time is one change

std::pair<std::filesystem::file_time_type, uintmax_t> stamp(const std::filesystem::path& file) {
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(file, ec);
  const auto size = std::filesystem::file_size(file, ec);
  return {time, ec ? 0 : size};
}

class FolderWatch final : public FileWatch {
 public:
  FolderWatch(HANDLE change, HANDLE stop, std::filesystem::path file, std::function<void()> changed)
      : change_(change),
        stop_(stop),
        file_(std::move(file)),
        changed_(std::move(changed)),
        last_(stamp(file_)),
        thread_([this] { run(); }) {}
  ~FolderWatch() override {
    SetEvent(stop_);
    thread_.join();
    FindCloseChangeNotification(change_);
    CloseHandle(stop_);
  }

 private:
  void run() {
    const HANDLE handles[2] = {stop_, change_};
    for (;;) {
      if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
      if (WaitForSingleObject(stop_, kSettleMs) == WAIT_OBJECT_0) return;
      FindNextChangeNotification(change_);
      const auto now = stamp(file_);
      if (now == last_) continue;
      last_ = now;
      changed_();
    }
  }

  HANDLE change_, stop_;
  std::filesystem::path file_;
  std::function<void()> changed_;
  std::pair<std::filesystem::file_time_type, uintmax_t> last_;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<FileWatch> watchFile(const std::filesystem::path& file,
                                     std::function<void()> changed) {
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  const HANDLE change = FindFirstChangeNotificationW(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE);
  if (change == INVALID_HANDLE_VALUE) return nullptr;
  const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!stop) {
    FindCloseChangeNotification(change);
    return nullptr;
  }
  return std::make_unique<FolderWatch>(change, stop, file, std::move(changed));
}

}  // namespace platform
