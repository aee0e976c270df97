// Keys in the real window under a private X server with a window manager: Return answers
// a message, the arrows move the focus mark and Return picks, each step showing exactly
// the pixels of the headless run; F11 fills the screen at a whole-number scale and gives
// the window its size back.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "formats/picture_loader.h"
#include "support/scenario.h"
#include "window/x11_session.h"

namespace {

using testing_support::XSession;

constexpr const char* kScript =
    "MES,あ￥\nCMST,1,＊一＊二＊三\nCMSL,1,4\nCASE,100\nEXIT\nCASE,101\nMES,"
    "選んだ￥\nEXIT\nENDCM\n";

// Waits until the window has the given size; returns its picture then.
std::optional<formats::Image> sizedWithin(XSession& x, unsigned long window, int w, int h, int ms) {
  for (int waited = 0; waited < ms; waited += 100) {
    auto shot = x.capture(window);
    if (shot && shot->width() == w && shot->height() == h) return shot;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return std::nullopt;
}

TEST(WindowKeys, KeysAnswerWaitsAndF11FillsTheScreen) {
  XSession x;
  ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
  const pid_t wm = x.spawn("openbox", {});
  ASSERT_TRUE(x.waitForWindowManager(10000)) << "openbox did not start (install the package)";
  auto folder = testing_support::scenarioFolder("window-keys");
  testing_support::writeScript(folder, kScript);
  testing_support::ScenarioOptions o;
  o.shots = true;
  o.input = "key Return\nkey Right\nkey Right\nkey Return\n";
  testing_support::runFolder(folder, o);
  std::vector<formats::Image> shots;
  for (int i = 1; i <= 5; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.png", i);
    auto shot = formats::loadPicture(folder / "shots" / name);
    ASSERT_TRUE(shot) << name;
    shots.push_back(*shot);
  }

  auto trace = (folder / "window.jsonl").string();
  // Its own data folder: an unfinished game in the user's would be offered first.
  pid_t pid = x.spawn(TORAMI_BINARY, {"--scale", "1", "--data-dir", (folder / "data").string(),
                                      "--trace", trace, folder.string()});
  unsigned long window = x.waitForWindow("TORAMI Win Ver1.8", 15000);
  ASSERT_NE(window, 0u) << "the window did not appear";
  const std::string id = std::to_string(window);
  ASSERT_TRUE(x.showsWithin(window, shots[0], 5000));
  ASSERT_EQ(x.xdotool("windowfocus --sync " + id + " key Return"), 0) << "xdotool failed";
  EXPECT_TRUE(x.showsWithin(window, shots[1], 5000)) << "Return did not answer the message";
  x.xdotool("key Right");
  EXPECT_TRUE(x.showsWithin(window, shots[2], 5000)) << "no focus mark on the first label";
  x.xdotool("key Right");
  EXPECT_TRUE(x.showsWithin(window, shots[3], 5000)) << "the mark did not move";

  x.xdotool("key F11");
  ASSERT_TRUE(sizedWithin(x, window, 1280, 1024, 5000)) << "F11 did not fill the screen";
  // Twice the size (the largest whole number that fits), centred, black around it.
  formats::Image twice(1280, 1024, formats::rgb(0, 0, 0));
  for (int y = 0; y < 768; ++y)
    for (int xx = 0; xx < 1012; ++xx) twice.set(134 + xx, 128 + y, shots[3].at(xx / 2, y / 2));
  EXPECT_TRUE(x.showsWithin(window, twice, 5000))
      << "the full screen is not the frame at twice its size";
  x.xdotool("key F11");
  EXPECT_TRUE(sizedWithin(x, window, 506, 384, 5000)) << "the window did not get its size back";

  x.xdotool("windowfocus --sync " + id + " key Return");
  EXPECT_TRUE(x.showsWithin(window, shots[4], 5000)) << "Return did not pick the marked label";
  x.requestClose(window);
  auto status = testing_support::waitForExit(pid, 5000);
  ASSERT_TRUE(status.has_value()) << "the window did not close on request";
  EXPECT_EQ(*status, 0);
  testing_support::ScenarioResult windowRun;
  std::ifstream in(trace);
  windowRun.events = testing_support::traceEvents(in);
  EXPECT_EQ(windowRun.last("pick")["code"].integer(), 101);
  kill(wm, SIGTERM);
  testing_support::waitForExit(wm, 2000);
}

}  // namespace
