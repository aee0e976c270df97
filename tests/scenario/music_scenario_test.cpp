// MUSPL run headless: the background piece looped by the 100 ms music timer in virtual
// time, stopping, closing, modes that do nothing, missing files, one piece replacing
// another, and how the script's name finds the ".MID" file in the game folder.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "backends/headless/headless_backend.h"
#include "platform/file_names.h"
#include "support/scenario.h"
#include "ui/acs.h"
#include "unit/audio_fixtures.h"

namespace {

namespace fs = std::filesystem;
using audio_test::Bytes;
using testing_support::JsonValue;
using testing_support::scenarioFolder;
using testing_support::writeScript;
using Times = std::vector<long>;

// A one-note piece of exactly `ms` milliseconds: one tick is one millisecond.
Bytes pieceOfMs(uint32_t ms) {
  audio_test::TrackBytes t;
  t.tempo(0, 1000000).on(0, 60).off(ms, 60).end(0);
  return audio_test::smf(0, 1000, {t});
}

void writeFile(const fs::path& file, const Bytes& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// What a run left behind: its trace, and the music timer and the mixer as the end found them.
struct MusicRun {
  std::vector<JsonValue> events;
  bool timerEnabled = false;
  bool pieceSounding = false;

  std::vector<JsonValue> all(const std::string& ev) const {
    std::vector<JsonValue> out;
    for (const JsonValue& e : events)
      if (e["ev"].str() == ev) out.push_back(e);
    return out;
  }
  Times restarts() const {
    Times t;
    for (const JsonValue& e : all("music-restart")) t.push_back(e["t"].integer());
    return t;
  }
  std::string reason() const { return all("end").back()["reason"].str(); }
};

/* The window object is run in the test itself, so its timer and the silent mixer can
   be looked at once the script has ended. */
MusicRun play(const fs::path& folder, const std::string& script, const std::string& input) {
  writeScript(folder, script);
  MusicRun run;
  std::ostringstream trace;
  {
    ui::Options o;
    o.gameFolder = folder;
    o.trace = &trace;
    o.maxSteps = 1000000;
    backends::HeadlessBackend backend(record::parseInputScript(input, "input"));
    ui::Acs acs(backend, o);
    acs.run();
    run.timerEnabled = acs.controls().TimerMIDI->enabled();
    run.pieceSounding = static_cast<gui::SilentMixer&>(backend.mixer()).sounding().has_value();
  }
  std::istringstream in(trace.str());
  run.events = testing_support::traceEvents(in);
  return run;
}

// A game folder with the given pieces, each written as name + ".MID".
fs::path folderWithPieces(const std::string& test,
                          std::initializer_list<std::pair<const char*, uint32_t>> pieces) {
  fs::path folder = scenarioFolder("Music." + test);
  for (const auto& [name, ms] : pieces)
    writeFile(folder / (std::string(name) + ".MID"), pieceOfMs(ms));
  return folder;
}

/* The timer is enabled by MUSPL mode 1 and ticks every 100 ms from then on; a tick
   restarts the piece when its length has passed, so each restart comes at the first
   tick at or after the end, and the next end counts from that restart. */
TEST(Music, APieceRestartsAtTheFirstTimerTickAfterEachEnd) {
  const struct {
    const char* label;
    uint32_t lengthMs;
    int startMs;  // when MUSPL runs and the timer starts
    Times restarts;
  } cases[] = {
      {"1000 ms from 0: the ends fall on ticks", 1000, 0, {1000, 2000, 3000}},
      {"1050 ms from 0: each end waits for the next tick", 1050, 0, {1100, 2200, 3300}},
      {"1000 ms from 230", 1000, 230, {1230, 2230, 3230}},
      {"1030 ms from 230", 1030, 230, {1330, 2430, 3530}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    fs::path folder = folderWithPieces("loop", {{"song", c.lengthMs}});
    MusicRun r = play(folder, "MES,あ￥\nMUSPL,song,1\nMES,い￥\nEXIT\n",
                      "at " + std::to_string(c.startMs) + " click\nat 3600 click\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(r.restarts(), c.restarts);
    ASSERT_EQ(r.all("music").size(), 1u);
    const JsonValue m = r.all("music")[0];
    EXPECT_EQ(m["t"].integer(), c.startMs);
    EXPECT_EQ(m["mode"].integer(), 1);
    EXPECT_EQ(m["name"].str(), "song");
    EXPECT_TRUE(m["ok"].boolean());
    EXPECT_TRUE(r.timerEnabled);
    EXPECT_TRUE(r.pieceSounding);
  }
}

/* Mode 0 stops and closes the piece and disables the timer; mode 9 only closes, so the
   timer goes on ticking without finding a piece. Either way nothing restarts after it. */
TEST(Music, StopAndCloseEndTheLoop) {
  const struct {
    int mode;
    bool timerEnabled;
  } cases[] = {{0, false}, {9, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    fs::path folder = folderWithPieces("stop", {{"song", 1000}});
    MusicRun r =
        play(folder,
             "MUSPL,song,1\nMES,あ￥\nMUSPL,song," + std::to_string(c.mode) + "\nMES,い￥\nEXIT\n",
             "at 1500 click\nat 4000 click\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(r.restarts(), Times{1000});
    const auto music = r.all("music");
    ASSERT_EQ(music.size(), 2u);
    EXPECT_EQ(music[1]["t"].integer(), 1500);
    EXPECT_EQ(music[1]["mode"].integer(), c.mode);
    EXPECT_EQ(music[1]["name"].str(), "song");
    EXPECT_FALSE(music[1]["ok"].boolean());
    EXPECT_EQ(r.timerEnabled, c.timerEnabled);
    EXPECT_FALSE(r.pieceSounding);
  }
}

TEST(Music, StopOrCloseWithNothingPlayingIsNoError) {
  for (const char* mode : {"0", "9"}) {
    SCOPED_TRACE(mode);
    MusicRun r = play(folderWithPieces("stop-nothing", {}),
                      std::string("MUSPL,song,") + mode + "\nEXIT\n", "");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(r.all("error").size(), 0u);
    EXPECT_FALSE(r.timerEnabled);
    EXPECT_FALSE(r.pieceSounding);
  }
}

TEST(Music, AfterCloseANewPiecePlaysAndLoopsAsUsual) {
  fs::path folder = folderWithPieces("close-then-play", {{"song", 1000}, {"other", 800}});
  MusicRun r = play(
      folder, "MUSPL,song,1\nMES,あ￥\nMUSPL,song,9\nMES,い￥\nMUSPL,other,1\nMES,う￥\nEXIT\n",
      "at 500 click\nat 2000 click\nat 3700 click\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(r.restarts(), (Times{2800, 3600}));
  EXPECT_TRUE(r.all("music").back()["ok"].boolean());
}

/* Modes other than 0, 1 and 9 send nothing: a playing piece goes on looping, and with
   no piece the timer stays off. */
TEST(Music, OtherModesChangeNothing) {
  for (const char* mode : {"2", "3", "8", "10", "-1", "F05"}) {
    SCOPED_TRACE(mode);
    fs::path folder = folderWithPieces("other-modes", {{"song", 1000}, {"other", 300}});
    MusicRun r = play(
        folder,
        std::string("LET,5,2\nMUSPL,song,1\nMES,あ￥\nMUSPL,other,") + mode + "\nMES,い￥\nEXIT\n",
        "at 1500 click\nat 3500 click\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(r.restarts(), (Times{1000, 2000, 3000}));
    ASSERT_EQ(r.all("music").size(), 2u);
    EXPECT_EQ(r.all("music")[1]["name"].str(), "other");
    EXPECT_FALSE(r.all("music")[1]["ok"].boolean());
    EXPECT_TRUE(r.pieceSounding);

    r = play(folder, std::string("LET,5,2\nMUSPL,song,") + mode + "\nMES,あ￥\nEXIT\n",
             "at 1500 click\n");
    EXPECT_EQ(r.restarts(), Times{});
    EXPECT_FALSE(r.timerEnabled);
    EXPECT_FALSE(r.pieceSounding);
  }
}

/* A piece that does not open is silence without a message; the timer is on all the
   same and its ticks find nothing to restart. */
TEST(Music, APieceThatDoesNotOpenIsSilentAndNoError) {
  const struct {
    const char* label;
    const char* file;  // written into the folder, or nullptr
    Bytes bytes;       // the file's bytes; none: a folder of that name
  } cases[] = {
      {"no file", nullptr, {}},
      {"a text file", "song.MID", {'h', 'e', 'l', 'l', 'o'}},
      {"a MIDI file without the extension", "song", pieceOfMs(1000)},
      {"a folder of that name", "song.MID", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    fs::path folder = folderWithPieces("missing", {});
    if (c.file && c.bytes.empty()) fs::create_directories(folder / c.file);
    if (c.file && !c.bytes.empty()) writeFile(folder / c.file, c.bytes);
    MusicRun r = play(folder, "MUSPL,song,1\nMES,あ￥\nEXIT\n", "at 3500 click\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(r.all("error").size(), 0u);
    ASSERT_EQ(r.all("music").size(), 1u);
    EXPECT_FALSE(r.all("music")[0]["ok"].boolean());
    EXPECT_EQ(r.restarts(), Times{});
    EXPECT_TRUE(r.timerEnabled);
    EXPECT_FALSE(r.pieceSounding);
  }
}

/* The second piece starts at once, in the middle of the first; the restarts follow its
   length from then on, on the grid of the timer that the first MUSPL started. */
TEST(Music, ASecondPieceReplacesTheFirst) {
  fs::path folder = folderWithPieces("replace", {{"long", 1500}, {"short", 750}});
  MusicRun r = play(folder, "MUSPL,long,1\nMES,あ￥\nMUSPL,short,1\nMES,い￥\nEXIT\n",
                    "at 1230 click\nat 3700 click\n");
  EXPECT_EQ(r.reason(), "exit");
  // short starts at 1230 and ends at 1980, 2780, 3580; ticks fall on whole hundreds.
  EXPECT_EQ(r.restarts(), (Times{2000, 2800, 3600}));
  const auto music = r.all("music");
  ASSERT_EQ(music.size(), 2u);
  EXPECT_EQ(music[1]["t"].integer(), 1230);
  EXPECT_EQ(music[1]["name"].str(), "short");
  EXPECT_TRUE(music[1]["ok"].boolean());

  // A missing second piece silences the first one.
  r = play(folder, "MUSPL,long,1\nMES,あ￥\nMUSPL,none,1\nMES,い￥\nEXIT\n",
           "at 500 click\nat 3700 click\n");
  EXPECT_EQ(r.restarts(), Times{});
  EXPECT_FALSE(r.pieceSounding);
}

/* The name gets ".MID" and is looked up in the game folder: letters in any case, a
   backslash for a subfolder, Japanese names. */
TEST(Music, TheNameFindsItsFileInAnyCaseAndSubfolder) {
  const struct {
    const char* onDisk;
    const char* inScript;
    bool found;
  } cases[] = {
      {"song.MID", "song", true},
      {"song.mid", "song", true},
      {"Song.Mid", "SONG", true},
      {"bgm/night.MID", "bgm\\night", true},
      {"BGM/Night.mid", "bgm\\NIGHT", true},
      {"夜の曲.MID", "夜の曲", true},
      {"song.MID", "song.MID", false},
      {"song.MID", "son", false},
      {"bgm/night.MID", "night", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.onDisk) + " as " + c.inScript);
    fs::path folder = folderWithPieces("names", {});
    writeFile(folder / platform::pathFromUtf8(c.onDisk), pieceOfMs(1000));
    MusicRun r = play(folder, std::string("MUSPL,") + c.inScript + ",1\nMES,あ￥\nEXIT\n",
                      "at 1500 click\n");
    ASSERT_EQ(r.all("music").size(), 1u);
    EXPECT_EQ(r.all("music")[0]["name"].str(), c.inScript);
    EXPECT_EQ(r.all("music")[0]["ok"].boolean(), c.found);
    EXPECT_EQ(r.restarts(), c.found ? Times{1000} : Times{});
  }
}

}  // namespace
