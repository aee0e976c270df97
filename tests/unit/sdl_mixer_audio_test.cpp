// Renders through SDL2_mixer into a file with SDL's disk audio driver, which
// writes the mixed samples many times faster than real time (one millisecond's
// pause per buffer), and checks that real sound comes out.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#include "audio_fixtures.h"
#include "backends/sdl/sdl_mixer.h"
#include "gui/silent_mixer.h"
#include "media/sound_player.h"
#include "platform/soundfont.h"
#include "support/environment.h"

namespace {

constexpr uintmax_t kBytesPerSecond = 44100 * 2 * 2;  // stereo, 16-bit

using testing_support::EnvOverride;

class DiskAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32  // Windows has a synthesiser of its own
    if (!platform::findSoundFont(std::getenv("TORAMI_SOUNDFONT"), platform::soundFontCandidates())
             .path)
      GTEST_SKIP() << "no General MIDI soundfont installed";
#endif
  }

  std::unique_ptr<gui::Mixer> open(bool renderAhead = platform::kRendersMidi) {
    auto mixer = backends::sdl::openMixer([] { return SDL_GetTicks(); }, renderAhead);
    EXPECT_EQ(dynamic_cast<gui::SilentMixer*>(mixer.get()), nullptr)
        << "the disk driver should give a real device";
    return mixer;
  }

  uintmax_t rendered() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(output, error);
    return error ? 0 : size;
  }

  /* Whether sound comes out after the byte offset within `ms` of real time: pieces load
     on a worker thread, and the driver renders many times faster than real time. */
  bool soundAfter(uintmax_t from, int ms = 30000) const {
    for (int waited = 0; waited < ms; waited += 50) {
      SDL_Delay(50);
      const uintmax_t to = rendered();
      if (soundBetween(from, to)) return true;
      from = std::max(from, to);
    }
    return false;
  }

  /* Whether the piece's start has left the library's queue and sounded, within `ms`: the
     mixer tells the clock's present while a start waits, and a fixed time once it sounded. */
  static bool sounded(gui::Mixer& mixer, gui::Mixer::MusicHandle piece, int ms = 30000) {
    for (int waited = 0; waited < ms; waited += 20) {
      const auto at = mixer.musicSoundedAt(piece);
      if (at && SDL_GetTicks() - *at >= 20) return true;
      SDL_Delay(20);
    }
    return false;
  }

  /* Waits until the driver has written the byte offset. */
  void renderTo(uintmax_t to) const {
    for (int waited = 0; waited < 30000 && rendered() < to; waited += 20) SDL_Delay(20);
  }

  /* Whether 16-bit samples between the byte offsets rise above a whisper. */
  bool soundBetween(uintmax_t from, uintmax_t to) const {
    std::ifstream in(output, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from & ~uintmax_t{1}));
    char pair[2];
    for (uintmax_t at = from & ~uintmax_t{1}; at + 1 < to && in.read(pair, 2); at += 2) {
      const auto sample = static_cast<int16_t>(static_cast<uint8_t>(pair[0]) |
                                               (static_cast<uint8_t>(pair[1]) << 8));
      if (sample > 1000 || sample < -1000) return true;
    }
    return false;
  }

  // A note of two seconds, and a piece as long without one.
  const audio_test::Bytes piece =
      audio_test::smf(0, 480, {audio_test::TrackBytes().on(0, 72).off(1920, 72).end(0)});
  const audio_test::Bytes silence = audio_test::smf(0, 480, {audio_test::TrackBytes().end(1920)});
  audio_test::ScratchFolder folder;
  std::filesystem::path output = folder.path() / "out.raw";
  EnvOverride driver{"SDL_AUDIODRIVER", "disk"};
  EnvOverride file{"SDL_DISKAUDIOFILE", output.string()};
#ifndef _WIN32
  // On Windows SDL reads this into the buffer that holds the file name it read just
  // before (the output would go to a file named "1"): there the driver keeps real time.
  EnvOverride delay{"SDL_DISKAUDIODELAY", "1"};
#endif
};

/* Music both ways: rendered ahead where the system can, and through the library's
   synthesiser. */
class MusicAudioTest : public DiskAudioTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    if (GetParam() && !platform::kRendersMidi) GTEST_SKIP() << "no renderer on this system";
    DiskAudioTest::SetUp();
  }
  std::unique_ptr<gui::Mixer> open() { return DiskAudioTest::open(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Ways, MusicAudioTest, ::testing::Bool(),
                         [](const auto& way) { return way.param ? "Rendered" : "Synthesised"; });

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
TEST_P(MusicAudioTest, AMidiPieceSoundsAndStartsAgainFromItsBeginning) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' own MIDI synthesiser plays outside the mixer";
#endif
  auto mixer = open();
  const auto handle = mixer->loadMusic(
      audio_test::smf(0, 480, {audio_test::TrackBytes().on(0, 72).off(240, 72).end(57360)}));
  ASSERT_TRUE(handle);
  mixer->startMusic(*handle);
  EXPECT_TRUE(soundAfter(0)) << "the first start plays the note";
  mixer->haltMusic();
  const uintmax_t halted = rendered();
  mixer->startMusic(*handle);
  EXPECT_TRUE(soundAfter(halted)) << "the second start plays it again";
}

/* A piece is loaded while the script goes on; a start asked for meanwhile begins once it
   is loaded, unless the piece was halted or freed first. */
TEST_P(MusicAudioTest, AStartAskedForWhileThePieceLoadsIsKeptOrCancelled) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' own MIDI synthesiser plays outside the mixer";
#endif
  auto mixer = open();
  for (const bool halt : {true, false}) {
    SCOPED_TRACE(halt ? "halted" : "kept");
    const uintmax_t from = rendered();
    const auto first = mixer->loadMusic(piece);
    const auto second = mixer->loadMusic(piece);
    ASSERT_TRUE(first && second);
    mixer->startMusic(*first);
    mixer->startMusic(*second);  // replaces the first before either has loaded
    if (halt) {
      mixer->haltMusic();
      mixer->freeMusic(*first);
      // A silent piece started after them has sounded once every call before it is done;
      // a second of sound after that shows nothing of the halted ones.
      const auto marker = mixer->loadMusic(silence);
      mixer->startMusic(*marker);
      ASSERT_TRUE(sounded(*mixer, *marker));
      const uintmax_t to = rendered() + kBytesPerSecond;
      renderTo(to);
      EXPECT_FALSE(soundBetween(from, to));
      mixer->freeMusic(*marker);
    } else {
      mixer->freeMusic(*first);
      EXPECT_TRUE(soundAfter(from));
    }
    mixer->freeMusic(*second);
  }
}

/* Every order of calls is safe, whatever the caller does: two pieces loading at once,
   frees and halts while pieces load, restarts while the spare copy loads. The library is
   called from one thread only, so this passes under the thread checker too; afterwards the
   mixer still plays. */
TEST_P(MusicAudioTest, AnyOrderOfMusicCallsIsSafe) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' own MIDI synthesiser plays outside the mixer";
#endif
  auto mixer = open();
  std::mt19937 random(23);
  std::vector<gui::Mixer::MusicHandle> loaded;
  const auto any = [&] { return loaded[random() % loaded.size()]; };
  for (int call = 0; call < 300; ++call) {
    switch (loaded.empty() ? 0 : random() % 5) {
      case 0:
        loaded.push_back(*mixer->loadMusic(piece));
        break;
      case 1:
        mixer->startMusic(any());
        break;
      case 2:
        mixer->haltMusic();
        break;
      case 3:
        mixer->setVolume(static_cast<int>(random() % 101), static_cast<int>(random() % 101));
        break;
      case 4:
        const auto at = loaded.begin() + static_cast<std::ptrdiff_t>(random() % loaded.size());
        const auto freed = *at;
        loaded.erase(at);
        mixer->freeMusic(freed);
        EXPECT_EQ(mixer->musicSoundedAt(freed), std::nullopt) << "a freed piece is forgotten";
        break;
    }
  }
  // A silent piece that has sounded shows every call before it done; then the last piece
  // sounds.
  mixer->setVolume(100, 100);
  const auto marker = mixer->loadMusic(silence);
  mixer->startMusic(*marker);
  ASSERT_TRUE(sounded(*mixer, *marker)) << "the calls so far are done";
  const uintmax_t from = rendered();
  const auto last = mixer->loadMusic(piece);
  mixer->startMusic(*last);
  EXPECT_TRUE(soundAfter(from)) << "the mixer plays after any order of calls";
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
