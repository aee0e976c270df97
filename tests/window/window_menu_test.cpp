// The player's menu in the real window under a private X server: F1 and the corner tab
// open it over the dimmed game, Return saves to the first slot (a file with its thumbnail),
// the slot loads back to the screen of the save, F12 keeps the frame without the menu.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "formats/picture_loader.h"
#include "support/scenario.h"
#include "window/x11_session.h"

namespace {

namespace fs = std::filesystem;
using testing_support::XSession;

// The picture in a file once it can be read whole.
std::optional<formats::Image> pictureWithin(const fs::path& file, int ms) {
  for (int waited = 0; waited < ms; waited += 100) {
    if (auto picture = formats::loadPicture(file)) return picture;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return std::nullopt;
}

// The folder of the game's saves inside the data folder.
fs::path savesOf(const fs::path& data) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(data, ec))
    if (entry.is_directory() && entry.path().filename() != "screenshots") return entry.path();
  return {};
}

// Waits until the window shows something other than `game` whose corner is darker: the menu.
bool menuWithin(XSession& x, unsigned long window, const formats::Image& game, int ms) {
  for (int waited = 0; waited < ms; waited += 100) {
    auto shot = x.capture(window);
    if (shot && shot->pixels().size() == game.pixels().size() && *shot != game &&
        (shot->at(2, 200) & 0xff) < (game.at(2, 200) & 0xff))
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

TEST(WindowMenu, OpensByF1AndTheTabSavesLoadsAndTakesAScreenshot) {
  XSession x;
  ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
  auto folder = testing_support::scenarioFolder("window-menu");
  testing_support::writeScript(folder, "GHG,none\nMES,あいう￥\nMES,えお￥\nEXIT\n");
  testing_support::ScenarioOptions o;
  o.shots = true;
  o.input = "click\n";
  testing_support::runFolder(folder, o);
  auto first = formats::loadPicture(folder / "shots" / "0001.png");
  auto second = formats::loadPicture(folder / "shots" / "0002.png");
  ASSERT_TRUE(first && second);

  const fs::path data = folder / "data";
  auto trace = (folder / "window.jsonl").string();
  pid_t pid = x.spawn(TORAMI_BINARY, {"--scale", "1", "--data-dir", data.string(), "--trace", trace,
                                      folder.string()});
  unsigned long window = x.waitForWindow("TORAMI Win Ver1.8", 15000);
  ASSERT_NE(window, 0u) << "the window did not appear";
  const std::string id = std::to_string(window);
  ASSERT_TRUE(x.showsWithin(window, *first, 5000));

  x.xdotool("windowfocus --sync " + id + " key F1");
  EXPECT_TRUE(menuWithin(x, window, *first, 5000)) << "F1 did not open the menu";
  x.xdotool("key Return");  // Save
  x.xdotool("key Return");  // slot 1
  const fs::path game = savesOf(data);
  ASSERT_FALSE(game.empty());
  // The thumbnail is written after the slot's game.
  EXPECT_TRUE(pictureWithin(game / "slot-1.png", 5000)) << "the slot was not saved";
  EXPECT_TRUE(fs::exists(game / "slot-1.jsonl"));
  x.xdotool("key Escape");
  x.xdotool("key Escape");
  EXPECT_TRUE(x.showsWithin(window, *first, 5000)) << "the menu did not close";

  int wx = 0, wy = 0;
  x.origin(window, wx, wy);
  x.xdotool("mousemove --sync " + std::to_string(wx + 200) + " " + std::to_string(wy + 360) +
            " click 1");
  EXPECT_TRUE(x.showsWithin(window, *second, 5000)) << "the click did not turn the page";
  // The tab shows while the pointer rests near the top-right corner.
  x.xdotool("mousemove --sync " + std::to_string(wx + 480) + " " + std::to_string(wy + 8));
  x.xdotool("mousemove --sync " + std::to_string(wx + 475) + " " + std::to_string(wy + 10) +
            " click 1");
  EXPECT_TRUE(menuWithin(x, window, *second, 5000)) << "the tab did not open the menu";
  x.xdotool("key Down");
  x.xdotool("key Return");  // Load
  x.xdotool("key Return");  // slot 1
  EXPECT_TRUE(x.showsWithin(window, *first, 5000)) << "the slot did not load the saved screen";

  x.xdotool("key F12");
  const auto shot = pictureWithin(data / "screenshots" / "screenshot-1.png", 5000);
  ASSERT_TRUE(shot) << "no screenshot";
  EXPECT_EQ(*shot, *first) << "the screenshot holds the game's frame, without notices";

  x.requestClose(window);
  auto status = testing_support::waitForExit(pid, 5000);
  ASSERT_TRUE(status.has_value()) << "the window did not close on request";
  testing_support::ScenarioResult run;
  std::ifstream in(trace);
  run.events = testing_support::traceEvents(in);
  EXPECT_EQ(run.all("player-menu").size(), 3u) << "opened, closed, opened (then loaded)";
  EXPECT_EQ(run.first("save")["slot"].str(), "1");
  EXPECT_EQ(run.last("load")["slot"].str(), "1");
  EXPECT_TRUE(run.last("screenshot")["ok"].boolean());
}

}  // namespace
