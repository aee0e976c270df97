#include "media/sound_player.h"

#include <gtest/gtest.h>

#include "audio_fixtures.h"

namespace {

using audio_test::FakeMixer;
using Calls = std::vector<std::string>;

/* A 250 ms wave "door.wav", a MIDI file named like a wave, and a 100 ms default
   chime. */
class SoundPlayerTest : public ::testing::Test {
 protected:
  FakeMixer mixer;
  audio_test::Bytes chime = audio_test::toneWave(100);
  media::SoundPlayer player{mixer, chime};
  audio_test::ScratchFolder folder;
  std::filesystem::path door = folder.write("door.wav", audio_test::toneWave(250));
  std::filesystem::path midiNamedWave = folder.write("tune.wav", audio_test::scalePiece(2));
  std::filesystem::path missing = folder.path() / "none.wav";
};

TEST_F(SoundPlayerTest, FlagsTable) {
  const struct {
    const char* name;
    bool exists;
    int32_t flags;
    bool soundingBefore;
    bool played;
    uint32_t blockMs;
    Calls calls;
  } cases[] = {
      {"0: synchronous", true, 0, false, true, 250, {"stop wave", "wave 250"}},
      {"1: asynchronous", true, 1, false, true, 0, {"stop wave", "wave 250"}},
      {"9: asynchronous loop", true, 9, false, true, 0, {"stop wave", "wave 250 loop"}},
      {"8 alone: synchronous, played once", true, 8, false, true, 250, {"stop wave", "wave 250"}},
      {"0, missing: the default sound blocks",
       false,
       0,
       false,
       false,
       100,
       {"stop wave", "wave 100"}},
      {"1, missing: the default sound", false, 1, false, false, 0, {"stop wave", "wave 100"}},
      {"9, missing: the default sound does not loop",
       false,
       9,
       false,
       false,
       0,
       {"stop wave", "wave 100"}},
      {"2, missing: silence", false, 2, false, false, 0, {"stop wave"}},
      {"3, missing: silence", false, 3, false, false, 0, {"stop wave"}},
      {"1 stops the sound playing", true, 1, true, true, 0, {"stop wave", "wave 250"}},
      {"3, missing, stops the sound playing", false, 3, true, false, 0, {"stop wave"}},
      {"17 while a sound plays: nothing", true, 17, true, false, 0, {}},
      {"16 while a sound plays: nothing, not even a default", false, 16, true, false, 0, {}},
      {"17 with nothing playing plays", true, 17, false, true, 0, {"stop wave", "wave 250"}},
      {"-1 carries the no-stop bit", true, -1, true, false, 0, {}},
      {"-3, every bit but 2: an asynchronous loop",
       true,
       -3,
       false,
       true,
       0,
       {"stop wave", "wave 250 loop"}},
      {"bits beyond the known ones are ignored",
       true,
       0x20000 | 1,
       false,
       true,
       0,
       {"stop wave", "wave 250"}},
  };
  for (const auto& c : cases) {
    mixer.calls.clear();
    mixer.playing = c.soundingBefore;
    const auto result = player.SOUND(c.exists ? door : missing, c.flags);
    EXPECT_EQ(result.played, c.played) << c.name;
    EXPECT_EQ(result.blockMs, c.blockMs) << c.name;
    EXPECT_EQ(mixer.calls, c.calls) << c.name;
  }
}

TEST_F(SoundPlayerTest, WhatCannotBePlayedGetsTheDefaultSound) {
  const struct {
    const char* name;
    std::optional<std::filesystem::path> file;
  } cases[] = {
      {"no file in the game folder", std::nullopt},
      {"a MIDI file named .wav", midiNamedWave},
      {"a folder", folder.path()},
  };
  for (const auto& c : cases) {
    mixer.calls.clear();
    const auto result = player.SOUND(c.file, 1);
    EXPECT_FALSE(result.played) << c.name;
    EXPECT_EQ(mixer.calls, (Calls{"stop wave", "wave 100"})) << c.name;
  }
}

TEST_F(SoundPlayerTest, AWaveTheMixerRefusesGivesSilenceWhenTheDefaultFailsToo) {
  mixer.waveFails = true;
  const auto result = player.SOUND(door, 0);
  EXPECT_FALSE(result.played);
  EXPECT_EQ(result.blockMs, 0u);
  EXPECT_EQ(mixer.calls, (Calls{"stop wave"}));
}

TEST_F(SoundPlayerTest, WithoutADefaultSoundAMissingFileIsSilent) {
  media::SoundPlayer bare(mixer, {});
  const auto result = bare.SOUND(missing, 0);
  EXPECT_FALSE(result.played);
  EXPECT_EQ(result.blockMs, 0u);
  EXPECT_EQ(mixer.calls, (Calls{"stop wave"}));
}

TEST_F(SoundPlayerTest, ALoopRunsUntilTheNextSound) {
  ASSERT_TRUE(player.SOUND(door, 9).played);
  EXPECT_TRUE(mixer.wavePlaying());
  EXPECT_FALSE(player.SOUND(door, 17).played) << "no-stop leaves the loop playing";
  EXPECT_FALSE(player.SOUND(missing, 3).played);
  EXPECT_FALSE(mixer.wavePlaying()) << "the next sound, even a silent one, ends the loop";
}

}  // namespace
