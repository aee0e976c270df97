// Saved games run headless: a quick save and load returns to exactly the wait and the
// screen of the save and the game goes on as if never left; the continue save after a
// close, a kill and the end; bad saves set aside with a fresh start.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <fstream>
#include <thread>

#include "../unit/audio_fixtures.h"
#include "picture_fixtures.h"
#include "record/content_hash.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;
using testing_support::JsonValue;
using testing_support::runFolder;
using testing_support::ScenarioOptions;
using testing_support::ScenarioResult;
using testing_support::timeless;

// Index of the first event of a kind at or after `from`, or -1.
long indexOf(const ScenarioResult& r, const std::string& ev, size_t from = 0) {
  for (size_t i = from; i < r.events.size(); ++i)
    if (r.events[i]["ev"].str() == ev) return static_cast<long>(i);
  return -1;
}

// How many waits come before event i; the snapshot of wait n is shot n + 1.
int waitsBefore(const ScenarioResult& r, long i) {
  int n = 0;
  for (long k = 0; k < i; ++k) n += r.events[k]["ev"].str() == "wait";
  return n;
}

long nthWait(const ScenarioResult& r, int n) {
  for (size_t i = 0; i < r.events.size(); ++i)
    if (r.events[i]["ev"].str() == "wait" && n-- == 0) return static_cast<long>(i);
  return -1;
}

// The events from i on, without times and without the music timer's restarts.
std::vector<JsonValue> restFrom(const ScenarioResult& r, long i) {
  std::vector<JsonValue> out;
  for (size_t k = i; k < r.events.size(); ++k)
    if (r.events[k]["ev"].str() != "music-restart") out.push_back(timeless(r.events[k]));
  return out;
}

struct RoundTrip {
  const char* what;
  const char* script;
  const char* before;  // up to the wait where F5 saves
  const char* detour;  // played between saving and loading
  const char* after;   // played after loading
};

/* Saved at a wait, played on, loaded: the wait after loading is the wait of the save,
   pixel for pixel, and everything after it is what a run without the detour gives. */
TEST(Saves, QuickSaveAndLoadReturnToTheSavedWaitAndGoOnAlike) {
  const RoundTrip cases[] = {
      {"a page typed with pauses", "MES,＃02あいう￥えおか￥\nMES,＃03きく￥\nEXIT\n", "click\n",
       "click\n", "click\nclick\n"},
      {"a submenu", "CMST,1,＊A２B・＊X＊Y\nCMSL,1,3\nCASE,200\nCASE,201\nMES,ね￥\nEXIT\n",
       "pick 1\n", "pick 0\n", "pick 1\nclick\n"},
      {"a menu hidden by a right click",
       "CMST,1,＊A＊B\nCMSL,1,3\nCASE,100\nCASE,101\nMES,ね￥\nEXIT\n", "key Escape\n",
       "rclick\npick 0\n", "rclick\npick 1\nclick\n"},
      {"after a fade", "GHG,room\nFADE,1\nMES,あ￥\nMES,い￥\nEXIT\n", "", "click\n",
       "click\nclick\n"},
      // The replay decodes only the last picture: when that one does not decode after all,
      // the replay is made again decoding each.
      {"a picture that does not decode", "GHG,room\nGHG,broken\nMES,あ￥\nMES,い￥\nEXIT\n", "",
       "click\n", "click\nclick\n"},
      {"the item tile shown",
       "CMST,0,＊鍵\nITMS,0,鍵だ￥\nCMSL,0,4\nCASE,0\nMES,い￥\nEXIT\nENDCM\n", "pick 0\n",
       "click\n", "click\nclick\n"},
      {"a label caption", "LBHGA,0,章一\nMES,あ￥\nLBHGA,0,章二\nMES,い￥\nEXIT\n", "", "click\n",
       "click\nclick\n"},
      {"music playing", "MUSPL,A,1\nMES,＃10あいう￥\nMES,いいいいいい￥\nEXIT\n", "", "click\n",
       "click\nclick\n"},
      {"after the chance", "LET,1,99\nMES,あ￥\nMES,い￥\nMES,う￥\nEXIT\n", "chance\nclick\n",
       "click\n", "click\nclick\n"},
      {"the backlog shown", "MES,一￥\nMES,二￥\nMES,三￥\nEXIT\n", "click\nclick\nkey PageUp\n",
       "key Return\n", "key Return\nkey Return\n"},
  };
  // F5 and F9, a numbered slot of the player's menu, and the gamepad's Back (F5).
  struct Way {
    const char *save, *load, *slot;
  };
  const Way ways[] = {{"key F5\n", "key F9\n", "quick"},
                      {"save 7\n", "load 7\n", "7"},
                      {"button Back\n", "key F9\n", "quick"}};
  int n = 0;
  for (const RoundTrip& c : cases)
    for (const Way& way : ways) {
      SCOPED_TRACE(std::string(c.what) + ", " + way.save);
      const fs::path folder =
          testing_support::scenarioFolder("Saves.round-trip-" + std::to_string(n++));
      testing_support::writeScript(folder, c.script);
      picture_fixtures::writePng(folder / "room.szg", 504, 336, 3);
      std::ifstream png(folder / "room.szg", std::ios::binary);
      std::string head(200, '\0');
      png.read(head.data(), 200);
      std::ofstream(folder / "broken.szg", std::ios::binary) << head;
      audio_test::TrackBytes t;
      t.tempo(0, 1000000).on(0, 60).off(400, 60).end(0);
      const auto piece = audio_test::smf(0, 1000, {t});
      std::ofstream(folder / "A.MID", std::ios::binary)
          .write(reinterpret_cast<const char*>(piece.data()), static_cast<long>(piece.size()));
      ScenarioOptions o;
      o.shots = true;
      o.input = std::string(c.before) + way.save + c.detour + way.load + c.after;
      const auto full = runFolder(folder, o);
      const auto fullShots = picture_fixtures::readShots(folder);
      o.input = std::string(c.before) + c.after;
      const auto plain = runFolder(folder, o);
      const auto plainShots = picture_fixtures::readShots(folder);

      const long save = indexOf(full, "save"), load = indexOf(full, "load");
      ASSERT_GE(save, 0);
      ASSERT_GT(load, save);
      EXPECT_TRUE(full.events[save]["ok"].boolean());
      EXPECT_EQ(full.events[load]["slot"].str(), way.slot);
      EXPECT_TRUE(full.events[load]["ok"].boolean());
      const int k = waitsBefore(full, save);
      const long savedWait = nthWait(full, k - 1), loadedWait = indexOf(full, "wait", load);
      ASSERT_GT(loadedWait, load);
      EXPECT_TRUE(timeless(full.events[loadedWait]) == timeless(full.events[savedWait]));
      EXPECT_EQ(fullShots.at(waitsBefore(full, loadedWait)), fullShots.at(k - 1));
      const long plainWait = nthWait(plain, k - 1);
      EXPECT_TRUE(restFrom(full, loadedWait) == restFrom(plain, plainWait));
      EXPECT_EQ(fullShots.back(), plainShots.back());
      if (std::string(c.what) == "music playing") {
        EXPECT_GT(indexOf(full, "music-restart", load), load) << "the piece plays after loading";
      }
    }
}

// A game folder with a script, and the place its saves go under `data`.
struct SavedFolder {
  explicit SavedFolder(const std::string& name, const char* script) {
    folder = testing_support::scenarioFolder(name);
    data = folder / "data";
    testing_support::writeScript(folder, script);
    std::ifstream in(folder / "TORAMI.acs", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    saves = data / record::contentHash(std::span(
                       reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
  }
  ScenarioResult run(const std::string& input, bool resume) const {
    ScenarioOptions o;
    o.input = input;
    o.dataDir = data;
    o.resume = resume;
    return runFolder(folder, o);
  }
  fs::path folder, data, saves;
};

constexpr const char* kTwoPages = "MES,あ￥\nMES,い￥\nMES,う￥\nEXIT\n";

TEST(Saves, AClosedGameContinuesWhereItWasAndAnEndedOneStartsAnew) {
  const SavedFolder game("Saves.continue", kTwoPages);
  const auto closed = game.run("click\nclose\n", false);
  EXPECT_EQ(closed.reason(), "close");
  const auto continued = game.run("click\nclick\n", true);
  const long load = indexOf(continued, "load");
  ASSERT_EQ(load, 0) << "the load comes first";
  EXPECT_EQ(continued.events[load]["slot"].str(), "continue");
  EXPECT_TRUE(timeless(continued.events[load + 1]) == timeless(closed.all("wait")[1]));
  EXPECT_EQ(continued.reason(), "exit");
  const auto again = game.run("click\n", true);
  EXPECT_EQ(indexOf(again, "load"), -1) << "a game that reached its end is not offered";
  EXPECT_EQ(again.first("wait")["mes"][0][0][1].str(), "　　　　　あ");
}

#ifndef _WIN32
/* A headless run killed while it writes its trace keeps every input it had taken. (POSIX
   processes and pipes; the Windows build's flush to disk is tested in stdio_file_test.) */
TEST(Saves, AKilledGameContinuesFromItsLastInput) {
  const SavedFolder game("Saves.killed", "MES,あ￥\nMES,い￥\nDO\nLOOP,3\n");
  fs::create_directories(game.data);
  std::ofstream(game.folder / "input.txt") << "click\nclick\n";
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);  // read up to the loop: then the run stops on a full pipe
    close(pipeFds[0]);
    execl(TORAMI_BINARY, TORAMI_BINARY, "--headless", "--trace-lines", "--data-dir",
          game.data.c_str(), "--input", (game.folder / "input.txt").c_str(), game.folder.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  // The run is in its loop once its trace shows LOOP, after both pages; from then on
  // nobody reads the pipe, and the loop fills it long before its first poll wait.
  bool looping = false;
  std::string unread;
  for (char chunk[4096]; !looping;) {
    pollfd ready{pipeFds[0], POLLIN, 0};
    if (poll(&ready, 1, 60000) <= 0) break;
    const ssize_t n = read(pipeFds[0], chunk, sizeof chunk);
    if (n <= 0) break;
    unread.append(chunk, static_cast<size_t>(n));
    for (size_t end; !looping && (end = unread.find('\n')) != std::string::npos;) {
      const auto event = testing_support::parseJson(unread.substr(0, end));
      looping = event["ev"].str() == "line" && event["cmd"].str() == "LOOP";
      unread.erase(0, end + 1);
    }
  }
  if (!looping) kill(pid, SIGKILL);
  ASSERT_TRUE(looping) << "the run reached its loop";
  // Four inputs (two presses, two releases) reach the save.
  const fs::path journal = game.saves / "continue.jsonl";
  const auto journalled = [&] {
    std::ifstream in(journal);
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines >= 5;
  };
  for (int waited = 0; waited < 60000 && !journalled(); waited += 20)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(journalled()) << "the inputs are in the journal";
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  close(pipeFds[0]);
  EXPECT_TRUE(WIFSIGNALED(status)) << "the run ended before it was killed";
  const auto continued = game.run("", true);
  const long load = indexOf(continued, "load");
  ASSERT_GE(load, 0);
  EXPECT_TRUE(continued.events[load]["ok"].boolean());
  EXPECT_EQ(continued.events[load + 1]["kind"].str(), "poll") << "back in the loop";
}

#endif

TEST(Saves, ABadSaveIsSaidSetAsideAndTheGameStartsFromTheBeginning) {
  const std::string header =
      "{\"save\":\"torami\",\"version\":1,\"player\":\"0.1.0\",\"script\":\"";
  const struct {
    const char* what;
    std::string content;  // empty: a folder in the file's place
    const char* said;
  } cases[] = {
      {"unreadable", "", "cannot be read"},
      {"cut short", "{\"save\":\"tor", "cut short"},
      {"another script", header + "0123456789abcdef\"}\n", "different script"},
      {"a later version",
       "{\"save\":\"torami\",\"version\":99,\"player\":\"9.0\",\"script\":\"HASH\"}\n",
       "later version"},
      {"damaged", header + "HASH\"}\nnonsense\n", "damaged"},
      {"another way",
       header +
           "HASH\"}\n{\"pass\":99999,\"site\":1,\"do\":\"press\",\"x\":1,\"y\":1,\"button\":1}\n",
       "another way"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const SavedFolder game("Saves.bad-" + std::to_string(n++), kTwoPages);
    fs::create_directories(game.saves);
    const fs::path file = game.saves / "continue.jsonl";
    if (c.content.empty()) {
      fs::create_directories(file);
    } else {
      std::string content = c.content;
      if (auto at = content.find("HASH"); at != std::string::npos)
        content.replace(at, 4, game.saves.filename().string());
      std::ofstream(file, std::ios::binary) << content;
    }
    ::testing::internal::CaptureStderr();
    const auto r = game.run("click\n", true);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_NE(said.find("set aside as continue.jsonl.bad"), std::string::npos) << said;
    EXPECT_TRUE(fs::exists(game.saves / "continue.jsonl.bad"));
    EXPECT_EQ(r.first("load")["ok"].boolean(), false);
    EXPECT_EQ(r.first("wait")["mes"][0][0][1].str(), "　　　　　あ") << "from the beginning";
  }
}

}  // namespace
