// Prints how long the window takes to go away after a close request, from each state a
// player can close it in: idle at a click wait, during a synchronous sound, a fade, a
// typing pause, and while the error box shows. Runs the real window under a private X
// server. Usage: cmake --build build --target close_latency && build/close_latency [runs]
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "window/x11_session.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct State {
  const char* name;
  const char* script;        // in code page 932, CR LF
  const char* showsWhen;     // a piece of the trace once the state has begun
  const char* waitForTitle;  // a window to wait for besides the main one, or null
};

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool waitFor(const fs::path& trace, const std::string& piece) {
  for (int i = 0; i < 1000; ++i) {
    if (readFile(trace).find(piece) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

struct Latency {
  double gone = -1, ended = -1;  // ms from the request until the window is gone / the end
};

Latency closeOnce(testing_support::XSession& x, const fs::path& folder, const State& s) {
  std::ofstream(folder / "TORAMI.acs", std::ios::binary) << s.script;
  const fs::path trace = folder / "trace.jsonl";
  fs::remove(trace);
  const pid_t pid =
      x.spawn(TORAMI_BINARY, {"--scale", "1", "--new", "--data-dir", (folder / "data").string(),
                              "--trace-lines", "--trace", trace.string(), folder.string()});
  const unsigned long window = x.waitForWindow("TORAMI Win Ver1.8", 15000);
  if (!window || !waitFor(trace, s.showsWhen) ||
      (s.waitForTitle && !x.waitForWindow(s.waitForTitle, 10000))) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return {};
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // well inside the state
  const auto start = Clock::now();
  x.requestClose(window);
  Latency latency;
  auto since = [&] {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  for (;;) {
    if (latency.gone < 0 && !x.showing("TORAMI Win Ver1.8")) latency.gone = since();
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      latency.ended = since();
      if (latency.gone < 0) latency.gone = latency.ended;
      return latency;
    }
    if (Clock::now() - start > std::chrono::seconds(30)) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      return {};
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
  testing_support::XSession x;
  if (!x.ok()) {
    std::fprintf(stderr, "close_latency: Xvfb did not start\n");
    return 1;
  }
  const fs::path folder = fs::temp_directory_path() / ("torami-close-" + std::to_string(getpid()));
  fs::create_directories(folder);
  {
    // 60 s of 8-bit mono silence at 8 kHz.
    std::string wave = "RIFF____WAVEfmt ";
    auto put = [&](uint32_t v, int n) {
      for (int i = 0; i < n; ++i) wave += static_cast<char>(v >> (8 * i));
    };
    put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(8000, 4), put(1, 2), put(8, 2);
    wave += "data", put(480000, 4), wave += std::string(480000, '\x80');
    std::ofstream(folder / "long.wav", std::ios::binary) << wave;
  }
  const State states[] = {
      {"at a click wait", "MES,\x82\xa0\x81\x8f\r\nEXIT\r\n", "\"kind\":\"click\"", nullptr},
      {"during a synchronous sound", "SOUND,long,0\r\nEXIT\r\n", "\"cmd\":\"SOUND\"", nullptr},
      {"during a fade", "DO\r\nFADE,1\r\nLOOP,1\r\n", "\"cmd\":\"FADE\"", nullptr},
      {"during a typing pause",
       "MES,\x81\x94\x39\x39\r\nMES,\x82\xa0\x82\xa2\x82\xa4\x82\xa6\r\nEXIT\r\n",
       "\"line\":2,\"cmd\":\"MES\"", nullptr},
      {"while the error box shows", "LET,1,x\r\n", "\"ev\":\"error\"", "Acs ERROR"},
  };
  std::printf(
      "ms from the close request until the window is gone / the program has ended, %d runs\n",
      runs);
  std::printf("%-28s %20s %20s\n", "state", "gone: min med max", "ended: min med max");
  for (const State& s : states) {
    std::vector<double> gone, ended;
    for (int i = 0; i < runs; ++i) {
      const Latency t = closeOnce(x, folder, s);
      if (t.ended < 0) continue;
      gone.push_back(t.gone);
      ended.push_back(t.ended);
    }
    if (ended.empty()) {
      std::printf("%-28s   failed\n", s.name);
      continue;
    }
    std::sort(gone.begin(), gone.end());
    std::sort(ended.begin(), ended.end());
    std::printf("%-28s %6.0f %6.0f %6.0f %6.0f %6.0f %6.0f\n", s.name, gone.front(),
                gone[gone.size() / 2], gone.back(), ended.front(), ended[ended.size() / 2],
                ended.back());
  }
  fs::remove_all(folder);
  return 0;
}
