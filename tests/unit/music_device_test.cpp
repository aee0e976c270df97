#include "media/music_device.h"

#include <gtest/gtest.h>

#include "audio_fixtures.h"
#include "media/music.h"

namespace {

using audio_test::FakeMixer;
using Calls = std::vector<std::string>;

/* A device on a fake mixer and a hand-driven clock, with a 1.5 s piece
   "A.MID", a 1 s piece "B.MID" and a file that is not MIDI. */
class MusicDeviceTest : public ::testing::Test {
 protected:
  FakeMixer mixer;
  uint32_t now = 1000;
  media::MusicDevice bg{mixer, [this] { return now; }};
  audio_test::ScratchFolder folder;
  std::filesystem::path pieceA = folder.write("A.MID", audio_test::scalePiece(3));
  std::filesystem::path pieceB = folder.write("B.MID", audio_test::scalePiece(2));
  std::filesystem::path notMidi = folder.write("C.MID", audio_test::toneWave(100));
  std::filesystem::path missing = folder.path() / "NONE.MID";
};

TEST_F(MusicDeviceTest, StateTable) {
  EXPECT_EQ(bg.status(), std::nullopt) << "nothing open at start";
  ASSERT_TRUE(bg.open(pieceA));
  EXPECT_EQ(bg.status(), media::MusicState::Stopped) << "opened, not yet played";
  EXPECT_FALSE(bg.open(pieceB)) << "the alias is taken";
  bg.play();
  EXPECT_EQ(bg.status(), media::MusicState::Playing);
  now += 1499;
  EXPECT_EQ(bg.status(), media::MusicState::Playing) << "1 ms before the end of the piece";
  now += 1;
  EXPECT_EQ(bg.status(), media::MusicState::Stopped)
      << "at the end, although the synthesiser still sounds";
  bg.playFromStart();
  EXPECT_EQ(bg.status(), media::MusicState::Playing);
  bg.stop();
  EXPECT_EQ(bg.status(), media::MusicState::Stopped);
  bg.close();
  EXPECT_EQ(bg.status(), std::nullopt);
  EXPECT_EQ(mixer.calls, (Calls{"load 1", "start 1", "start 1", "halt", "free 1"}));
}

/* A piece that loads while the script goes on begins to sound later than it was asked
   to start: its length counts from then, so it is not restarted before its end. */
TEST_F(MusicDeviceTest, APieceThatBeginsLateCountsItsLengthFromWhenItSounds) {
  ASSERT_TRUE(bg.open(pieceA));
  bg.play();
  mixer.soundedAt = now + 5;  // still loading: the mixer's clock has moved on
  EXPECT_EQ(bg.status(), media::MusicState::Playing);
  now += 40;
  mixer.soundedAt = now;  // loaded and sounding
  now += 1499;
  EXPECT_EQ(bg.status(), media::MusicState::Playing)
      << "1 ms before the end, counted from when it sounded";
  now += 1;
  EXPECT_EQ(bg.status(), media::MusicState::Stopped);
}

TEST_F(MusicDeviceTest, PlayLeavesAPlayingPieceAlone) {
  ASSERT_TRUE(bg.open(pieceA));
  bg.play();
  now += 700;
  bg.play();
  now += 800;
  EXPECT_EQ(bg.status(), media::MusicState::Stopped)
      << "the piece ends 1.5 s after its first start";
  EXPECT_EQ(mixer.calls, (Calls{"load 1", "start 1"}));
}

TEST_F(MusicDeviceTest, OpenFailsForMissingForeignAndUnplayableFiles) {
  EXPECT_FALSE(bg.open(missing));
  EXPECT_FALSE(bg.open(notMidi)) << "the mixer's loader is not asked to tell types apart";
  EXPECT_FALSE(bg.open(folder.path())) << "a folder";
  mixer.loadFails = true;
  EXPECT_FALSE(bg.open(pieceA));
  EXPECT_EQ(bg.status(), std::nullopt);
  EXPECT_TRUE(mixer.calls.empty());
}

TEST_F(MusicDeviceTest, CommandsWithNothingOpenDoNothing) {
  bg.stop();
  bg.play();
  bg.playFromStart();
  bg.close();
  EXPECT_EQ(bg.status(), std::nullopt);
  EXPECT_TRUE(mixer.calls.empty());
}

TEST_F(MusicDeviceTest, ClosesItsPieceWhenDestroyed) {
  {
    media::MusicDevice other(mixer, [this] { return now; });
    ASSERT_TRUE(other.open(pieceB));
  }
  EXPECT_EQ(mixer.calls, (Calls{"load 1", "free 1"}));
}

/* MUSPL and the timer through the music part, with the timer's switch recorded. */
class BackgroundMusicTest : public MusicDeviceTest {
 protected:
  std::vector<bool> switches;
  media::TimerSwitch setTimer = [this](bool on) { switches.push_back(on); };
  record::Recorder recorder;
  platform::GameFolder game{folder.path()};

  media::Music musicOn(FakeMixer& m) {
    return media::Music([&m]() -> gui::Mixer& { return m; }, [this] { return now; }, game, setTimer,
                        recorder);
  }
  media::Music music = musicOn(mixer);

  bool muspl(const char32_t* name, int16_t mode) { return music.MUSPL(name, mode); }

  /* Runs the 100 ms timer from now up to `until`; returns the restart times. */
  std::vector<uint32_t> tickUntil(uint32_t until) {
    std::vector<uint32_t> restarts;
    for (now += 100; now <= until; now += 100)
      if (music.timerMIDI_Timer()) restarts.push_back(now);
    now -= 100;
    return restarts;
  }
};

TEST_F(BackgroundMusicTest, ModesTable) {
  const struct {
    int16_t mode;
    bool playingBefore;
    bool opened;
    std::vector<bool> switches;
    std::optional<media::MusicState> statusAfter;
    Calls calls;
  } cases[] = {
      {0, false, false, {false}, std::nullopt, {}},
      {0, true, false, {false}, std::nullopt, {"halt", "free 1"}},
      {1, false, true, {true}, media::MusicState::Playing, {"load 1", "start 1"}},
      {1, true, true, {true}, media::MusicState::Playing, {"halt", "free 1", "load 2", "start 2"}},
      {9, false, false, {}, std::nullopt, {}},
      {9, true, false, {}, std::nullopt, {"free 1"}},
      {2, true, false, {}, media::MusicState::Playing, {}},
      {-1, true, false, {}, media::MusicState::Playing, {}},
      {10, false, false, {}, std::nullopt, {}},
  };
  for (const auto& c : cases) {
    FakeMixer freshMixer;
    media::Music fresh = musicOn(freshMixer);
    if (c.playingBefore) {
      ASSERT_TRUE(fresh.MUSPL(U"A", 1));
      freshMixer.calls.clear();
    }
    switches.clear();
    const std::string label =
        "mode " + std::to_string(c.mode) + (c.playingBefore ? " playing" : "");
    EXPECT_EQ(fresh.MUSPL(U"B", c.mode), c.opened) << label;
    EXPECT_EQ(switches, c.switches) << label;
    EXPECT_EQ(fresh.status(), c.statusAfter) << label;
    EXPECT_EQ(freshMixer.calls, c.calls) << label;
  }
}

TEST_F(BackgroundMusicTest, APieceRestartsAtTheFirstTickAfterItsEnd) {
  ASSERT_TRUE(muspl(U"A", 1));  // 1500 ms, started at 1000
  EXPECT_EQ(tickUntil(5000), (std::vector<uint32_t>{2500, 4000}));
  ASSERT_TRUE(muspl(U"B", 1));  // 1000 ms, started at 5000
  now += 50;                    // the timer runs on its own beat
  EXPECT_EQ(tickUntil(8000), (std::vector<uint32_t>{6050, 7050}));
  EXPECT_EQ(mixer.calls, (Calls{"load 1", "start 1", "start 1", "start 1", "halt", "free 1",
                                "load 2", "start 2", "start 2", "start 2"}));
}

TEST_F(BackgroundMusicTest, AFailedOpenLeavesTheTimerRunningWithoutEffect) {
  ASSERT_TRUE(muspl(U"A", 1));
  EXPECT_FALSE(muspl(U"NONE", 1));
  EXPECT_FALSE(muspl(U"", 1));
  EXPECT_FALSE(muspl(U"C", 1));
  EXPECT_EQ(switches, (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(music.status(), std::nullopt);
  mixer.calls.clear();
  EXPECT_TRUE(tickUntil(10000).empty());
  EXPECT_TRUE(mixer.calls.empty());
}

TEST_F(BackgroundMusicTest, Mode9StopsThePieceAndLeavesTheTimer) {
  ASSERT_TRUE(muspl(U"A", 1));
  now += 300;
  EXPECT_FALSE(muspl(U"A", 9));
  EXPECT_EQ(switches, (std::vector<bool>{true}));
  EXPECT_TRUE(tickUntil(6000).empty()) << "ticks find no device";
  ASSERT_TRUE(muspl(U"B", 1)) << "a later mode 1 plays normally";
  EXPECT_EQ(tickUntil(7000), (std::vector<uint32_t>{7000}));
  EXPECT_EQ(mixer.calls, (Calls{"load 1", "start 1", "free 1", "load 2", "start 2", "start 2"}));
}

TEST_F(BackgroundMusicTest, Mode0StopsTheMusicAndTheTimer) {
  ASSERT_TRUE(muspl(U"A", 1));
  EXPECT_FALSE(muspl(U"A", 0));
  EXPECT_EQ(switches, (std::vector<bool>{true, false}));
  EXPECT_FALSE(music.timerMIDI_Timer()) << "a stray tick after mode 0";
  EXPECT_EQ(mixer.calls, (Calls{"load 1", "start 1", "halt", "free 1"}));
}

}  // namespace
