// The window and its frame fit the screen under a window manager: at the default scale,
// at a scale asked for that the screen cannot hold (a smaller one is used), on a small
// screen and a large one.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "support/scenario.h"
#include "window/x11_session.h"

namespace {

using testing_support::XSession;

TEST(WindowFit, TheFramedWindowFitsTheScreen) {
  const struct {
    const char* screen;
    int width, height;
    std::vector<std::string> scale;
  } cases[] = {
      {"800x600x24", 800, 600, {}},
      {"800x600x24", 800, 600, {"--scale", "1.5"}},
      {"1280x1024x24", 1280, 1024, {"--scale", "3"}},
  };
  auto folder = testing_support::scenarioFolder("window-fit");
  testing_support::writeScript(folder, "MES,あ￥\nEXIT\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.screen) + (c.scale.empty() ? "" : " --scale " + c.scale[1]));
    XSession x(c.screen);
    ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
    const pid_t wm = x.spawn("openbox", {});
    ASSERT_TRUE(x.waitForWindowManager(10000)) << "openbox did not start (install the package)";
    std::vector<std::string> args = c.scale;
    for (const char* a : {"--new", "--data-dir"}) args.push_back(a);
    args.push_back((folder / "data").string());
    args.push_back(folder.string());
    const pid_t pid = x.spawn(TORAMI_BINARY, args);
    const unsigned long window = x.waitForWindow("TORAMI Win Ver1.8", 15000);
    ASSERT_NE(window, 0u) << "the window did not appear";
    formats::Rect frame;
    for (int waited = 0; waited < 5000; waited += 100) {  // until the frame is put round it
      frame = x.framed(window);
      if (auto shot = x.capture(window); shot && frame.h > shot->height()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const auto inside = x.capture(window);
    ASSERT_TRUE(inside);
    EXPECT_GT(frame.h, inside->height()) << "no frame from the window manager";
    EXPECT_LE(frame.w, c.width);
    EXPECT_LE(frame.h, c.height);
    EXPECT_GE(inside->width(), 506) << "never smaller than the design size";
    x.requestClose(window);
    testing_support::waitForExit(pid, 5000);
    kill(wm, SIGTERM);
    testing_support::waitForExit(wm, 2000);
  }
}

}  // namespace
