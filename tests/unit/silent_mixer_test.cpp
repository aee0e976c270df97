#include "gui/silent_mixer.h"

#include <gtest/gtest.h>

#include "audio_fixtures.h"
#include "media/music_device.h"
#include "media/sound_player.h"

namespace {

using gui::SilentMixer;

class SilentMixerTest : public ::testing::Test {
 protected:
  uint32_t now = 0;
  SilentMixer mixer{[this] { return now; }};
  audio_test::Bytes wave = audio_test::toneWave(300);
};

TEST_F(SilentMixerTest, AWavePlaysForItsLength) {
  ASSERT_TRUE(mixer.playWave({wave, 300}, false));
  now = 299;
  EXPECT_TRUE(mixer.wavePlaying());
  now = 300;
  EXPECT_FALSE(mixer.wavePlaying());
}

TEST_F(SilentMixerTest, ALoopPlaysUntilStopped) {
  ASSERT_TRUE(mixer.playWave({wave, 300}, true));
  now = 100000;
  EXPECT_TRUE(mixer.wavePlaying());
  mixer.stopWave();
  EXPECT_FALSE(mixer.wavePlaying());
}

TEST_F(SilentMixerTest, MusicHandlesFollowLoadStartHaltAndFree) {
  const auto first = mixer.loadMusic(audio_test::scalePiece(1));
  const auto second = mixer.loadMusic(audio_test::scalePiece(1));
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_EQ(mixer.loadMusic({}), std::nullopt);
  mixer.startMusic(*first);
  EXPECT_EQ(mixer.sounding(), first);
  mixer.haltMusic();
  EXPECT_EQ(mixer.sounding(), std::nullopt);
  mixer.startMusic(*second);
  mixer.freeMusic(*second);
  EXPECT_EQ(mixer.sounding(), std::nullopt);
  mixer.startMusic(*second);
  EXPECT_EQ(mixer.sounding(), std::nullopt) << "a freed piece does not start";
}

/* A headless run keeps a sound's timing: the no-stop flag sees the wave until
   its length has passed on the clock. */
TEST_F(SilentMixerTest, NoStopSeesTheWaveUntilItsLengthHasPassed) {
  audio_test::ScratchFolder folder;
  const auto file = folder.write("ring.wav", wave);
  media::SoundPlayer player(mixer, {});
  ASSERT_TRUE(player.SOUND(file, 1).played);
  now = 150;
  EXPECT_FALSE(player.SOUND(file, 17).played);
  now = 300;
  EXPECT_TRUE(player.SOUND(file, 17).played);
}

}  // namespace
