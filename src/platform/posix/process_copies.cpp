// Copies of the running program on POSIX systems: fork, pipes and shared anonymous memory.
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/port.h"

namespace platform {

void* takeSharedMemory(size_t bytes) {
  void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  return memory == MAP_FAILED ? nullptr : memory;
}

void releaseSharedMemory(void* memory, size_t bytes) {
  if (memory) ::munmap(memory, bytes);
}

Pipe::Pipe() {
  if (::pipe(ends_) != 0) {
    ends_[0] = ends_[1] = -1;
    return;
  }
  for (int end : ends_) ::fcntl(end, F_SETFD, FD_CLOEXEC);
  ::fcntl(ends_[0], F_SETFL, ::fcntl(ends_[0], F_GETFL) | O_NONBLOCK);
}

Pipe::~Pipe() {
  closeReading();
  closeWriting();
}

void Pipe::closeReading() {
  if (ends_[0] >= 0) ::close(ends_[0]);
  ends_[0] = -1;
}

void Pipe::closeWriting() {
  if (ends_[1] >= 0) ::close(ends_[1]);
  ends_[1] = -1;
}

/* A reader that went away must not end this process (the default of SIGPIPE): the signal
   is held while writing, and one the write raised is taken before it is let through. */
bool Pipe::put(const void* bytes, size_t size) {
  sigset_t pipeSignal, before;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
  const char* at = static_cast<const char*>(bytes);
  bool ok = true;
  while (ok && size > 0) {
    const ssize_t n = ::write(ends_[1], at, size);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) at += n, size -= static_cast<size_t>(n);
  }
  if (!ok && errno == EPIPE) {
    const timespec now{0, 0};
    while (sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  return ok;
}

/* The reading end does not block, so that one pipe serves both a reader that waits and
   one that only looks; waiting is a poll for bytes or for the last writer's end. */
long Pipe::take(void* bytes, size_t size, bool wait) {
  for (;;) {
    const ssize_t n = ::read(ends_[0], bytes, size);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    if (errno != EAGAIN || !wait) return -1;
    pollfd ready{ends_[0], POLLIN, 0};
    if (::poll(&ready, 1, -1) < 0 && errno != EINTR) return -1;
  }
}

int Pipe::awaitAny(std::span<Pipe* const> pipes) {
  std::vector<pollfd> ready;
  for (const Pipe* p : pipes) ready.push_back({p->ends_[0], POLLIN, 0});
  for (;;) {
    const int n = ::poll(ready.data(), ready.size(), -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    for (size_t i = 0; i < ready.size(); ++i)
      if (ready[i].revents != 0) return static_cast<int>(i);
  }
}

long copyProcess() { return ::fork(); }

std::optional<CopyEnd> awaitCopy(long id) {
  int status = 0;
  pid_t ended;
  do {
    ended = ::waitpid(static_cast<pid_t>(id), &status, 0);
  } while (ended < 0 && errno == EINTR);
  if (ended <= 0) return std::nullopt;
  return CopyEnd{ended, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

void endCopy() { ::_exit(0); }

}  // namespace platform
