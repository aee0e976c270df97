// The generated media that ship with the demo game and the executable are
// readable and of the intended lengths.
#include <gtest/gtest.h>

#include "formats/midi_length.h"
#include "formats/wave_length.h"
#include "platform/file_bytes.h"

namespace {

const std::filesystem::path kSource = TORAMI_SOURCE_DIR;

TEST(DemoMedia, BackgroundPiecesLastTwentyToSixtySeconds) {
  for (const char* name : {"demo/TITLE.MID", "demo/NIGHT.MID"}) {
    const auto bytes = platform::readFileBytes(kSource / name, platform::kMaxMusicFileBytes);
    ASSERT_TRUE(bytes) << name;
    const auto ms = formats::midiLengthMs(*bytes);
    ASSERT_TRUE(ms) << name;
    EXPECT_GE(*ms, 20000u) << name;
    EXPECT_LE(*ms, 60000u) << name;
  }
}

TEST(DemoMedia, SoundEffectsAreShortWaves) {
  for (const char* name : {"assets/chime.wav", "demo/knock.wav", "demo/footstep.wav",
                           "demo/bell.wav", "demo/page.wav", "demo/fanfare.wav"}) {
    const auto bytes = platform::readFileBytes(kSource / name, platform::kMaxWaveFileBytes);
    ASSERT_TRUE(bytes) << name;
    const auto ms = formats::waveLengthMs(*bytes);
    ASSERT_TRUE(ms) << name;
    EXPECT_GE(*ms, 300u) << name;
    EXPECT_LE(*ms, 3000u) << name;
  }
}

}  // namespace
