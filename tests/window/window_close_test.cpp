// Closing the real window ends the program from every state it can be in: while a
// synchronous sound holds the thread, during a fade, during a typing pause, while the
// error box shows (and on SIGTERM or SIGINT then), and when the window is destroyed
// under the close. No box and no process outlives the program.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <variant>

#include "support/environment.h"
#include "support/program_run.h"
#include "support/scenario.h"
#include "unit/audio_fixtures.h"
#include "window/x11_session.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::XSession;

constexpr const char* kTitle = "TORAMI Win Ver1.8";
constexpr const char* kBoxTitle = "Acs ERROR";

enum class Close { Request, RequestAndDestroy, Destroy, Terminate, Interrupt };

// A trace event by its kind and, when `key` is given, one field's value.
struct Shows {
  const char* ev;
  const char* key = nullptr;
  const char* value = nullptr;
  bool operator()(const testing_support::JsonValue& e) const {
    if (e["ev"].str() != ev) return false;
    if (!key) return true;
    if (!e.has(key)) return false;
    const auto& v = e[key];
    return std::holds_alternative<double>(v.v) ? std::to_string(v.integer()) == value
                                               : v.str() == value;
  }
};

struct CloseCase {
  const char* state;
  const char* script;
  Shows showsWhen;  // the trace event that tells the state has begun
  bool box;         // the state is the error box: wait for it to show
  Close how;
  int status;
};

// The events of the trace written so far (a line still being written is left out).
std::vector<testing_support::JsonValue> traceSoFar(const fs::path& trace) {
  std::string text = readFile(trace);
  const size_t complete = text.find_last_of('\n');
  text.resize(complete == std::string::npos ? 0 : complete + 1);
  std::istringstream in(text);
  return testing_support::traceEvents(in);
}

bool traceShows(const fs::path& trace, const Shows& shows, int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    const auto events = traceSoFar(trace);
    if (std::any_of(events.begin(), events.end(), shows)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(WindowClose, EndsTheProgramFromEveryState) {
  XSession x;
  ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
  // The real mixer, without sound hardware.
  const testing_support::EnvOverride driver("SDL_AUDIODRIVER", "dummy");
  const CloseCase cases[] = {
      {"a synchronous sound of 60 s", "SOUND,long,0\nEXIT\n", {"sound"}, false, Close::Request, 0},
      {"a fade", "DO\nFADE,1\nLOOP,1\n", {"fade"}, false, Close::Request, 0},
      {"a typing pause",
       "MES,＃99\nMES,あいうえおかきくけこ\nEXIT\n",
       {"line", "line", "2"},
       false,
       Close::Request,
       0},
      {"the error box, the window closed", "LET,1,x\n", {"error"}, true, Close::Request, 1},
      {"the error box, SIGTERM", "LET,1,x\n", {"error"}, true, Close::Terminate, 1},
      {"the error box, SIGINT", "LET,1,x\n", {"error"}, true, Close::Interrupt, 1},
      {"a close as the window goes away",
       "MES,あ￥\nEXIT\n",
       {"wait", "kind", "click"},
       false,
       Close::RequestAndDestroy,
       0},
      {"the window destroyed from outside",
       "MES,あ￥\nEXIT\n",
       {"wait", "kind", "click"},
       false,
       Close::Destroy,
       0},
  };
  const fs::path folder = testing_support::scenarioFolder("WindowClose");
  audio_test::ScratchFolder scratch;
  std::ofstream(folder / "long.wav", std::ios::binary) << [] {
    const auto wave = audio_test::waveFile({1, 1, 8000, 8}, audio_test::Bytes(8000 * 60, 128));
    return std::string(wave.begin(), wave.end());
  }();
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.state);
    testing_support::writeScript(folder, c.script);
    const fs::path trace = folder / "trace.jsonl";
    fs::remove(trace);
    const pid_t pid =
        x.spawn(TORAMI_BINARY, {"--scale", "1", "--data-dir", (folder / "data").string(),
                                "--trace-lines", "--trace", trace.string(), folder.string()});
    const unsigned long window = x.waitForWindow(kTitle, 15000);
    ASSERT_NE(window, 0u) << "the window did not appear";
    ASSERT_TRUE(traceShows(trace, c.showsWhen, 10000)) << readFile(trace);
    if (c.box) {
      ASSERT_NE(x.waitForWindow(kBoxTitle, 10000), 0u) << "the box did not show";
    }
    switch (c.how) {
      case Close::Request:
        x.requestClose(window);
        break;
      case Close::RequestAndDestroy:
        x.capture(window);
        x.requestClose(window);
        x.destroyWindow(window);
        break;
      case Close::Destroy:
        x.destroyWindow(window);
        break;
      case Close::Terminate:
        kill(pid, SIGTERM);
        break;
      case Close::Interrupt:
        kill(pid, SIGINT);
        break;
    }
    const auto status = testing_support::waitForExit(pid, 5000);
    EXPECT_EQ(status, c.status) << "nullopt: still running 5 s after the close; the trace:\n"
                                << readFile(trace);
    EXPECT_FALSE(x.showing(kBoxTitle)) << "a box outlived the program";
    EXPECT_FALSE(x.showing(kTitle));
    if (c.how != Close::Terminate && c.how != Close::Interrupt) {
      const auto events = traceSoFar(trace);
      EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                              Shows{"end", "reason", c.box ? "error" : "close"}))
          << readFile(trace);
    }
  }
}

}  // namespace
