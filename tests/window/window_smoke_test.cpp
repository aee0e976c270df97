// The real window under a private X server: it shows exactly the pixels of the headless
// run at the same moment, takes a double click from the mouse, and ends on a close
// request from the window manager.
#include <gtest/gtest.h>

#include <fstream>

#include "formats/picture_loader.h"
#include "support/scenario.h"
#include "window/x11_session.h"

namespace {

using testing_support::XSession;

constexpr const char* kScript =
    "LBHGA,0,12\n"
    "LET,1,99\n"
    "DO\n"
    "IF,F10^99,6\n"
    "LOOP,3\n"
    "LBHGA,0,OK\n"
    "DO\n"
    "LOOP,7\n";

TEST(WindowSmoke, MatchesHeadlessPixelsTakesClicksAndClosesOnRequest) {
  XSession x;
  ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
  auto folder = testing_support::scenarioFolder("window-smoke");
  testing_support::writeScript(folder, kScript);
  testing_support::ScenarioOptions o;
  o.shots = true;
  o.input = "chance\n";
  auto reference = testing_support::runFolder(folder, o);
  auto before = formats::loadPicture(folder / "shots" / "0001.png");
  auto after = formats::loadPicture(folder / "shots" / "0002.png");
  ASSERT_TRUE(before && after);
  ASSERT_NE(*before, *after);

  auto trace = (folder / "window.jsonl").string();
  // Its own data folder: an unfinished game in the user's would be offered first.
  pid_t pid = x.spawn(TORAMI_BINARY, {"--scale", "1", "--data-dir", (folder / "data").string(),
                                      "--trace", trace, folder.string()});
  unsigned long window = x.waitForWindow("TORAMI Win Ver1.8", 15000);
  ASSERT_NE(window, 0u) << "the window did not appear";
  EXPECT_TRUE(x.showsWithin(window, *before, 5000)) << "the window differs from the headless shot";

  int wx = 0, wy = 0;
  x.origin(window, wx, wy);
  // The centre of the chance label at (462, 338), 43 x 19.
  std::string at = std::to_string(wx + 462 + 21) + " " + std::to_string(wy + 338 + 9);
  // The mouse library counts a double click by when the player reads the two presses, so a
  // player starved of the processor (a loaded test machine) can read them as two single
  // clicks, which the script ignores: a double click that did not show is given again.
  bool reached = false;
  for (int attempt = 0; attempt < 3 && !reached; ++attempt) {
    ASSERT_EQ(x.xdotool("mousemove --sync " + at + " click --repeat 2 --delay 40 1"), 0)
        << "xdotool failed";
    reached = x.showsWithin(window, *after, 5000).has_value();
  }
  EXPECT_TRUE(reached) << "the double click did not reach the script";

  x.requestClose(window);
  auto status = testing_support::waitForExit(pid, 5000);
  ASSERT_TRUE(status.has_value()) << "the window did not close on request";
  EXPECT_EQ(*status, 0);
  testing_support::ScenarioResult windowRun;
  std::ifstream in(trace);
  windowRun.events = testing_support::traceEvents(in);
  EXPECT_EQ(windowRun.reason(), "close");
  EXPECT_EQ(windowRun.last("end")["flags"][10].integer(), 99);
}

}  // namespace
