#include "program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace testing_support {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

}  // namespace

ProgramRun runTorami(const std::vector<std::string>& args, const ProgramLimits& limits) {
  static int runs = 0;
  const fs::path base = fs::temp_directory_path() /
                        ("torami-run-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
  const fs::path outFile = base.string() + ".out", errFile = base.string() + ".err";
  // The environment of this process, except that the leak checker of a sanitizer build
  // keeps its summary of suppressions off the standard error that the tests read.
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("LSAN_OPTIONS=", 0) != 0) environment.push_back(*e);
  const char* lsan = std::getenv("LSAN_OPTIONS");
  environment.push_back(std::string("LSAN_OPTIONS=") + (lsan ? std::string(lsan) + ":" : "") +
                        "print_suppressions=0");
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<char*> argv{const_cast<char*>(TORAMI_BINARY)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) ::_exit(126);
    ::dup2(in, 0), ::dup2(out, 1), ::dup2(err, 2);
    if (limits.addressSpace > 0 && !kSanitized) {
      const rlimit limit{limits.addressSpace, limits.addressSpace};
      ::setrlimit(RLIMIT_AS, &limit);
    }
    ::execve(TORAMI_BINARY, argv.data(), envp.data());
    ::_exit(127);
  }
  ProgramRun run;
  int status = 0;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.timeoutMs);
  for (;;) {
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
      break;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  run.out = readFile(outFile);
  run.err = readFile(errFile);
  std::error_code ec;
  fs::remove(outFile, ec);
  fs::remove(errFile, ec);
  return run;
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace testing_support
