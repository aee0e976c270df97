// The Windows build's window under Wine, on a private X server with a window manager
// (run by make test-windows): torami.exe opens the demo game and shows exactly the pixels
// of the Linux build's headless run, takes a pick from the mouse, keeps the game in the
// data folder it was given, and ends on a close request. Built on Linux; the environment
// names the program (TORAMI_WINDOWS_EXE) and how to run it (TORAMI_WINE_RUN), and
// TORAMI_WINDOW_SHOTS a folder for the captured window (for people to look at).
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>

#include "formats/picture_loader.h"
#include "formats/png_writer.h"
#include "support/scenario.h"
#include "ui/design.h"
#include "window/x11_session.h"

namespace {

namespace fs = std::filesystem;
using testing_support::XSession;

void keepShot(const formats::Image& shot, const char* name) {
  if (const char* folder = std::getenv("TORAMI_WINDOW_SHOTS")) {
    fs::create_directories(folder);
    formats::savePng(shot, fs::path(folder) / name);
  }
}

TEST(WindowUnderWine, ShowsTheDemoAsHeadlessTakesAPickKeepsTheGameAndClosesOnRequest) {
  const char* exe = std::getenv("TORAMI_WINDOWS_EXE");
  const char* wineRun = std::getenv("TORAMI_WINE_RUN");
  ASSERT_TRUE(exe && wineRun) << "set TORAMI_WINDOWS_EXE and TORAMI_WINE_RUN (make test-windows)";
  XSession x;
  ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
  const pid_t wm = x.spawn("openbox", {});
  ASSERT_TRUE(x.waitForWindowManager(10000)) << "openbox did not start";

  const fs::path base = testing_support::scenarioFolder("wine-window");
  const fs::path game = base / "game", data = base / "data";
  fs::copy(fs::path(TORAMI_SOURCE_DIR) / "demo", game, fs::copy_options::recursive);
  testing_support::ScenarioOptions o;
  o.shots = true;
  o.input = "pick 0\n";
  testing_support::runFolder(game, o);
  auto menu = formats::loadPicture(game / "shots" / "0001.png");
  auto picked = formats::loadPicture(game / "shots" / "0002.png");
  ASSERT_TRUE(menu && picked);
  fs::remove_all(game / "shots");

  const std::string trace = (base / "window.jsonl").string();
  const pid_t pid = x.spawn(
      wineRun, {exe, "--scale", "1", "--data-dir", data.string(), "--trace", trace, game.string()});
  const unsigned long window = x.waitForWindow(ui::design::kCaption, 60000);
  ASSERT_NE(window, 0u) << "the window did not appear";
  const auto first = x.showsWithin(window, *menu, 20000);
  if (auto shot = x.capture(window)) keepShot(*shot, "1-menu.png");
  if (auto screen = x.captureScreen()) keepShot(*screen, "0-screen.png");
  EXPECT_TRUE(first) << "the window differs from the headless run at the first wait";

  int wx = 0, wy = 0;
  x.origin(window, wx, wy);
  const formats::Point label = ui::design::cell(1).centre();  // Label1(0)
  const std::string at = std::to_string(wx + label.x) + " " + std::to_string(wy + label.y);
  ASSERT_EQ(x.xdotool("mousemove --sync " + at + " click 1"), 0) << "xdotool failed";
  const auto second = x.showsWithin(window, *picked, 20000);
  if (auto shot = x.capture(window)) keepShot(*shot, "2-picked.png");
  EXPECT_TRUE(second) << "the pick did not reach the game, or the window differs";

  x.requestClose(window);
  const auto status = testing_support::waitForExit(pid, 20000);
  ASSERT_TRUE(status.has_value()) << "the window did not close on request";
  EXPECT_EQ(*status, 0);
  testing_support::ScenarioResult run;
  std::ifstream in(trace, std::ios::binary);
  run.events = testing_support::traceEvents(in);
  ASSERT_FALSE(run.events.empty()) << "no trace";
  EXPECT_EQ(run.reason(), "close");
  EXPECT_EQ(run.all("pick").size(), 1u);

  // The continue save in the data folder holds the pick: press and release.
  int saved = 0;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(data, ec)) {
    if (entry.path().filename() != "continue.jsonl") continue;
    std::ifstream save(entry.path());
    for (std::string line; std::getline(save, line);) saved += line.find("\"pass\"") != line.npos;
  }
  EXPECT_EQ(saved, 2) << "the continue save in " << data;
  kill(wm, SIGTERM);
  testing_support::waitForExit(wm, 5000);
}

}  // namespace
