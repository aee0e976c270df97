// SOUND run headless: a synchronous wave holds the virtual clock for its length and
// blocks events meanwhile, an asynchronous one takes no time, a file that does not play
// gives the default chime unless flag 2 forbids it, and flag 16 leaves a playing sound
// alone.
#include <gtest/gtest.h>

#include <fstream>

#include "formats/wave_length.h"
#include "gui/assets.h"
#include "platform/file_names.h"
#include "support/scenario.h"
#include "unit/audio_fixtures.h"

namespace {

namespace fs = std::filesystem;
using audio_test::Bytes;
using testing_support::JsonValue;
using testing_support::runFolder;
using testing_support::scenarioFolder;
using testing_support::ScenarioOptions;
using testing_support::ScenarioResult;
using testing_support::writeScript;
using Times = std::vector<long>;

// A 16-bit mono wave of exactly `ms` milliseconds at 8000 Hz.
Bytes waveOfMs(uint32_t ms) {
  Bytes data;
  for (uint32_t i = 0; i < ms * 8; ++i) audio_test::littleEndian(data, (i / 4) % 2 ? 6000 : 0, 2);
  return audio_test::waveFile({1, 1, 8000, 16}, data);
}

void writeFile(const fs::path& file, const Bytes& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A game folder with pop.wav (250 ms), bell.wav (400 ms) and long.wav (2350 ms).
fs::path folderWithWaves(const std::string& test) {
  fs::path folder = scenarioFolder("Sound." + test);
  writeFile(folder / "pop.wav", waveOfMs(250));
  writeFile(folder / "bell.wav", waveOfMs(400));
  writeFile(folder / "long.wav", waveOfMs(2350));
  return folder;
}

ScenarioResult run(const fs::path& folder, const std::string& script, const std::string& input) {
  writeScript(folder, script);
  ScenarioOptions o;
  o.input = input;
  return runFolder(folder, o);
}

Times timesOf(const ScenarioResult& r, const std::string& ev) {
  Times t;
  for (const JsonValue& e : r.all(ev)) t.push_back(e["t"].integer());
  return t;
}

std::vector<bool> playedOf(const ScenarioResult& r) {
  std::vector<bool> ok;
  for (const JsonValue& e : r.all("sound")) ok.push_back(e["ok"].boolean());
  return ok;
}

uint32_t chimeMs() {
  const auto chime = gui::asset("chime.wav");
  return formats::waveLengthMs({chime.data(), chime.size()}).value_or(0);
}

/* Each sound event is written when the SOUND starts; the click wait after the sounds
   shows where the clock stood when the last one returned. */
TEST(Sound, ASynchronousSoundHoldsTheClockForItsLengthAndAnAsynchronousOneDoesNot) {
  const struct {
    const char* label;
    std::string sounds;
    Times soundTimes;
    long waitTime;
  } cases[] = {
      {"0: synchronous", "SOUND,pop,0\n", {0}, 250},
      {"two synchronous in a row", "SOUND,pop,0\nSOUND,bell,0\n", {0, 250}, 650},
      {"1: asynchronous", "SOUND,pop,1\n", {0}, 0},
      {"9: asynchronous loop", "SOUND,pop,9\n", {0}, 0},
      {"8 alone: synchronous", "SOUND,bell,8\n", {0}, 400},
      {"2: synchronous, no default", "SOUND,bell,2\n", {0}, 400},
      {"asynchronous, then synchronous", "SOUND,long,1\nSOUND,pop,0\n", {0, 0}, 250},
      {"a flag reference", "LET,7,1\nSOUND,long,F07\nLET,7,0\nSOUND,pop,F07\n", {0, 0}, 250},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    fs::path folder = folderWithWaves("timing");
    ScenarioResult r = run(folder, c.sounds + "MES,あ￥\nEXIT\n", "click\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(timesOf(r, "sound"), c.soundTimes);
    EXPECT_EQ(playedOf(r), std::vector<bool>(c.soundTimes.size(), true));
    EXPECT_EQ(r.first("wait")["t"].integer(), c.waitTime);
  }
}

TEST(Sound, TheEventNamesTheSoundAndItsFlags) {
  ScenarioResult r = run(folderWithWaves("event"), "SOUND,pop,17\nEXIT\n", "");
  const JsonValue e = r.first("sound");
  EXPECT_EQ(e["name"].str(), "pop");
  EXPECT_EQ(e["flags"].integer(), 17);
  EXPECT_TRUE(e["ok"].boolean());
  EXPECT_EQ(e["line"].integer(), 1);
}

/* A file that does not play is never "ok"; instead the default chime sounds, and holds
   the clock when the call is synchronous, unless flag 2 asks for silence. */
TEST(Sound, AFileThatDoesNotPlayGivesTheChimeUnlessFlagTwoForbidsIt) {
  const uint32_t chime = chimeMs();
  ASSERT_GT(chime, 0u);
  const struct {
    const char* label;
    const char* name;
    int flags;
    int64_t waitTime;  // wide enough for a uint32_t where long is 32 bits (wasm32)
  } cases[] = {
      {"missing, 0: the chime, synchronous", "none", 0, chime},
      {"missing, 1: the chime, asynchronous", "none", 1, 0},
      {"missing, 2: silence", "none", 2, 0},
      {"missing, 3: silence", "none", 3, 0},
      {"not a wave, 0: the chime", "text", 0, chime},
      {"not a wave, 2: silence", "text", 2, 0},
      {"a MIDI file, 0: the chime", "tune", 0, chime},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    fs::path folder = folderWithWaves("missing");
    writeFile(folder / "text.wav", {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
    writeFile(folder / "tune.wav", audio_test::scalePiece(2));
    ScenarioResult r =
        run(folder,
            "SOUND," + std::string(c.name) + "," + std::to_string(c.flags) + "\nMES,あ￥\nEXIT\n",
            "click\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(r.all("error").size(), 0u);
    EXPECT_EQ(playedOf(r), std::vector<bool>{false});
    EXPECT_EQ(r.first("wait")["t"].integer(), c.waitTime);
  }
}

/* Flag 16 plays nothing while another sound plays: not the file, and not the chime.
   Once the first sound has ended, the same call plays. */
TEST(Sound, FlagSixteenLeavesAPlayingSoundAlone) {
  fs::path folder = folderWithWaves("no-stop");
  ScenarioResult r = run(folder,
                         "SOUND,long,1\n"   // plays from 0 to 2350
                         "SOUND,pop,16\n"   // refused, takes no time
                         "SOUND,none,16\n"  // refused, no chime either
                         "SOUND,bell,17\n"  // refused
                         "MES,あ￥\n"       // clicked at 2400, after long has ended
                         "SOUND,pop,16\n"   // plays, synchronous: 2400 to 2650
                         "SOUND,bell,17\n"  // pop has just ended: plays
                         "SOUND,pop,1\n"    // stops bell and plays
                         "SOUND,long,0\n"   // stops pop and plays: 2650 to 5000
                         "MES,い￥\nEXIT\n",
                         "at 2400 click\nat 6000 click\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(playedOf(r), (std::vector<bool>{true, false, false, false, true, true, true, true}));
  EXPECT_EQ(timesOf(r, "sound"), (Times{0, 0, 0, 0, 2400, 2650, 2650, 2650}));
  EXPECT_EQ(timesOf(r, "wait"), (Times{0, 5000, 6000}));
}

// Whole hundreds from `from` to `to`, after the times in `first`.
Times ticksFrom(Times first, long from, long to) {
  for (long t = from; t <= to; t += 100) first.push_back(t);
  return first;
}

/* While a synchronous sound plays, no events are processed: the music timer's ticks
   that fall due meanwhile come as one tick at the next processing, after the sound,
   and the timer keeps its 100 ms grid. A piece without notes has always ended, so
   every tick restarts it and the restarts show each tick. An asynchronous sound holds
   nothing up. */
TEST(Sound, ASynchronousSoundHoldsUpTheMusicTimer) {
  fs::path folder = folderWithWaves("music-timer");
  audio_test::TrackBytes song, blank;  // one tick is one millisecond
  song.tempo(0, 1000000).on(0, 60).off(1000, 60).end(0);
  blank.tempo(0, 1000000).end(0);
  writeFile(folder / "song.MID", audio_test::smf(0, 1000, {song}));
  writeFile(folder / "blank.MID", audio_test::smf(0, 1000, {blank}));
  const struct {
    const char* label;
    const char* piece;
    int flags;
    Times restarts;
  } cases[] = {
      // The piece ended at 1000; the tick at 2350 restarts it; the next end at 3350
      // waits for the tick at 3400.
      {"1000 ms, synchronous", "song", 0, {2350, 3400}},
      {"1000 ms, asynchronous", "song", 1, {1000, 2000, 3000}},
      {"no notes, synchronous", "blank", 0, ticksFrom({2350}, 2400, 3500)},
      {"no notes, asynchronous", "blank", 1, ticksFrom({}, 100, 3500)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScenarioResult r = run(folder,
                           std::string("MUSPL,") + c.piece + ",1\nSOUND,long," +
                               std::to_string(c.flags) + "\nMES,あ￥\nEXIT\n",
                           "at 3500 click\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(timesOf(r, "music-restart"), c.restarts);
  }
}

/* Mouse actions that fall due during a synchronous sound are delivered only after it,
   at the loop's processing of events: a click meant for the message that follows is
   taken before that message starts waiting, so the message still waits. */
TEST(Sound, ASynchronousSoundHoldsUpInput) {
  fs::path folder = folderWithWaves("input");
  ScenarioResult r = run(folder, "SOUND,long,0\nMES,あ￥\nEXIT\n", "at 500 click\n");
  EXPECT_EQ(r.reason(), "input");
  EXPECT_EQ(timesOf(r, "wait"), (Times{2350, 2350}));

  r = run(folder, "SOUND,long,1\nMES,あ￥\nEXIT\n", "at 500 click\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(timesOf(r, "wait"), (Times{0, 500}));
}

/* The name gets ".wav" and is looked up like every media name of the game folder. */
TEST(Sound, TheNameFindsItsFileInAnyCaseAndSubfolder) {
  const struct {
    const char* onDisk;
    const char* inScript;
    bool found;
  } cases[] = {
      {"pop.wav", "pop", true}, {"POP.WAV", "pop", true},      {"se/Door.Wav", "SE\\door", true},
      {"扉.wav", "扉", true},   {"pop.wav", "pop.wav", false}, {"se/door.wav", "door", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.onDisk) + " as " + c.inScript);
    fs::path folder = scenarioFolder("Sound.names");
    writeFile(folder / platform::pathFromUtf8(c.onDisk), waveOfMs(300));
    ScenarioResult r =
        run(folder, std::string("SOUND,") + c.inScript + ",2\nMES,あ￥\nEXIT\n", "click\n");
    EXPECT_EQ(r.first("sound")["name"].str(), c.inScript);
    EXPECT_EQ(playedOf(r), std::vector<bool>{c.found});
    EXPECT_EQ(r.first("wait")["t"].integer(), c.found ? 300 : 0);
  }
}

}  // namespace
