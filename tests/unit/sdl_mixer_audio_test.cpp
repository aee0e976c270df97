// Renders through SDL2_mixer into a file with SDL's disk audio driver, which
// writes the mixed samples many times faster than real time (one millisecond's
// pause per buffer), and checks that real sound comes out.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio_fixtures.h"
#include "media/sound_player.h"
#include "platform/file_bytes.h"
#include "platform/sdl/sdl_mixer.h"
#include "platform/silent_mixer.h"
#include "platform/soundfont.h"

namespace {

constexpr uintmax_t kBytesPerSecond = 44100 * 2 * 2;  // stereo, 16-bit

/* Sets an environment variable for the lifetime of the object. */
class EnvOverride {
 public:
  EnvOverride(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~EnvOverride() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class DiskAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::findSoundFont(std::getenv("TORAMI_SOUNDFONT"), platform::soundFontCandidates())
             .path)
      GTEST_SKIP() << "no General MIDI soundfont installed";
  }

  std::unique_ptr<platform::Mixer> open() {
    auto mixer = platform::sdl::openMixer([] { return SDL_GetTicks(); });
    EXPECT_EQ(dynamic_cast<platform::SilentMixer*>(mixer.get()), nullptr)
        << "the disk driver should give a real device";
    return mixer;
  }

  uintmax_t rendered() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(output, error);
    return error ? 0 : size;
  }

  /* Lets the driver render until the file holds `bytes`, for at most 20 s. */
  void renderUntil(uintmax_t bytes) const {
    for (int i = 0; i < 20000 && rendered() < bytes; ++i) SDL_Delay(1);
  }

  /* Whether 16-bit samples between the byte offsets rise above a whisper. */
  bool soundBetween(uintmax_t from, uintmax_t to) const {
    const auto bytes = platform::readFileBytes(output, size_t{1} << 30);
    if (!bytes) return false;
    for (size_t i = from & ~size_t{1}; i + 1 < std::min<uintmax_t>(to, bytes->size()); i += 2) {
      const int16_t sample = static_cast<int16_t>((*bytes)[i] | ((*bytes)[i + 1] << 8));
      if (sample > 1000 || sample < -1000) return true;
    }
    return false;
  }

  audio_test::ScratchFolder folder;
  std::filesystem::path output = folder.path() / "out.raw";
  EnvOverride driver{"SDL_AUDIODRIVER", "disk"};
  EnvOverride file{"SDL_DISKAUDIOFILE", output.string()};
  EnvOverride delay{"SDL_DISKAUDIODELAY", "1"};
};

TEST_F(DiskAudioTest, AWaveSounds) {
  {
    auto mixer = open();
    const auto wave = audio_test::toneWave(200);
    ASSERT_TRUE(mixer->playWave({wave, 200}, false));
    for (int i = 0; i < 20000 && mixer->wavePlaying(); ++i) SDL_Delay(1);
    EXPECT_FALSE(mixer->wavePlaying()) << "a 200 ms wave ends";
  }
  EXPECT_TRUE(soundBetween(0, UINTMAX_MAX));
}

/* One short note, then a minute of nothing: a halted piece that resumed
   instead of starting again would stay silent. */
TEST_F(DiskAudioTest, AMidiPieceSoundsAndStartsAgainFromItsBeginning) {
  auto mixer = open();
  const auto handle = mixer->loadMusic(
      audio_test::smf(0, 480, {audio_test::TrackBytes().on(0, 72).off(240, 72).end(57360)}));
  ASSERT_TRUE(handle);
  mixer->startMusic(*handle);
  renderUntil(rendered() + 2 * kBytesPerSecond);
  mixer->haltMusic();
  const uintmax_t halted = rendered();
  mixer->startMusic(*handle);  // loads the piece afresh, which takes a while
  renderUntil(rendered() + 2 * kBytesPerSecond);
  mixer.reset();
  EXPECT_TRUE(soundBetween(0, halted)) << "the first start plays the note";
  EXPECT_TRUE(soundBetween(halted, UINTMAX_MAX)) << "the second start plays it again";
}

/* A wave whose rate the mixer's converter cannot take (its buffer size overflows) never
   reaches it: the sound plays as a missing file does, the default chime. */
TEST_F(DiskAudioTest, AWaveTheConverterCannotTakePlaysTheDefaultChime) {
  auto mixer = open();
  const auto file =
      folder.write("slow.wav", audio_test::waveFile({1, 1, 1, 16}, audio_test::Bytes(114616, 0)));
  const auto chime = audio_test::toneWave(300);
  media::SoundPlayer player(*mixer, chime);
  const media::SoundResult result = player.SOUND(file, media::kSoundSync);
  EXPECT_FALSE(result.played);
  EXPECT_EQ(result.blockMs, 300u);
}

/* Played by playing nothing, as in a headless run: the library itself will not start a
   sound without frames. */
TEST_F(DiskAudioTest, AWaveWithoutFramesCountsAsPlayed) {
  auto mixer = open();
  EXPECT_TRUE(mixer->playWave({audio_test::waveFile({}, {}), 0}, false));
  EXPECT_FALSE(mixer->wavePlaying());
}

TEST_F(DiskAudioTest, ForeignBytesDoNotLoadAsMusic) {
  auto mixer = open();
  const audio_test::Bytes junk(64, 0x55);
  EXPECT_EQ(mixer->loadMusic(junk), std::nullopt);
}

}  // namespace
