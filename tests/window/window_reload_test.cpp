// Editing a story while the window plays it: a clean edit shows on the same wait without a
// restart, an edit with an error is refused and says so.
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

const char* kStory = "GHG,none\nMES,あいう￥\n*next\nMES,えお￥\nGOTO,{next}\n";
const char* kEdited = "GHG,none\nLBHGA,0,章\nMES,かきく￥\n*next\nMES,えお￥\nGOTO,{next}\n";

void write(const fs::path& file, const std::string& text) {
  const fs::path temporary = file.string() + ".new";
  std::ofstream(temporary, std::ios::binary) << text;
  fs::rename(temporary, file);  // as editors that save by renaming do
}

// The first wait's screen of a story played headless.
formats::Image firstScreen(const std::string& name, const std::string& story) {
  const fs::path folder = testing_support::scenarioFolder(name);
  std::ofstream(folder / "TORAMI.story", std::ios::binary) << story;
  testing_support::ScenarioOptions o;
  o.shots = true;
  testing_support::runFolder(folder, o);
  return formats::loadPicture(folder / "shots" / "0001.png").value_or(formats::Image(1, 1));
}

// The trace's reload events once there are `count`.
std::vector<testing_support::JsonValue> reloadsWithin(const fs::path& trace, size_t count, int ms) {
  testing_support::ScenarioResult run;
  for (int waited = 0; waited < ms; waited += 100) {
    std::ifstream in(trace);
    run.events = testing_support::traceEvents(in);
    if (run.all("reload").size() >= count) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return run.all("reload");
}

TEST(WindowReload, ACleanEditShowsOnTheSameWaitAndABrokenOneLeavesTheGame) {
  XSession x;
  ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
  const formats::Image before = firstScreen("window-reload-before", kStory);
  const formats::Image after = firstScreen("window-reload-after", kEdited);
  ASSERT_NE(before, after);

  const fs::path folder = testing_support::scenarioFolder("window-reload");
  std::ofstream(folder / "TORAMI.story", std::ios::binary) << kStory;
  const fs::path trace = folder / "window.jsonl";
  pid_t pid = x.spawn(TORAMI_BINARY, {"--scale", "1", "--trace", trace.string(), folder.string()});
  unsigned long window = x.waitForWindow("TORAMI Win Ver1.8", 15000);
  ASSERT_NE(window, 0u) << "the window did not appear";
  ASSERT_TRUE(x.showsWithin(window, before, 5000));

  write(folder / "TORAMI.story", kEdited);
  EXPECT_TRUE(x.showsWithin(window, after, 10000)) << "the edit did not show";
  auto reloads = reloadsWithin(trace, 1, 5000);
  ASSERT_EQ(reloads.size(), 1u);
  EXPECT_TRUE(reloads[0]["ok"].boolean());
  EXPECT_EQ(reloads[0]["kept"].integer(), 0);

  write(folder / "TORAMI.story", std::string(kEdited) + "GOTO,{nowhere}\n");
  reloads = reloadsWithin(trace, 2, 5000);
  ASSERT_EQ(reloads.size(), 2u);
  EXPECT_FALSE(reloads[1]["ok"].boolean());
  EXPECT_EQ(reloads[1]["errors"].integer(), 1);

  x.requestClose(window);
  EXPECT_TRUE(testing_support::waitForExit(pid, 5000).has_value());
}

}  // namespace
