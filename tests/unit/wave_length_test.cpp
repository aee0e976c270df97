#include "media/wave_length.h"

#include <gtest/gtest.h>

#include "audio_fixtures.h"

namespace {

using audio_test::Bytes;
using audio_test::waveFile;
using audio_test::WaveFormat;
using media::waveLengthMs;

Bytes zeros(size_t n) { return Bytes(n, 0); }

Bytes factChunk(uint32_t samples) {
  Bytes out = {'f', 'a', 'c', 't', 4, 0, 0, 0};
  audio_test::littleEndian(out, samples, 4);
  return out;
}

TEST(WaveLength, ReadsTheLengthFromFormatAndData) {
  const Bytes oddChunk = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  const struct {
    const char* name;
    Bytes file;
    uint32_t ms;
  } cases[] = {
      {"16-bit mono", waveFile({}, zeros(22050 * 2)), 1000},
      {"16-bit stereo 44.1 kHz", waveFile({1, 2, 44100, 16}, zeros(44100 * 4 / 2)), 500},
      {"8-bit mono 11025 Hz", waveFile({1, 1, 11025, 8}, zeros(2205)), 200},
      {"float stereo", waveFile({3, 2, 48000, 32}, zeros(48000 * 8 / 4)), 250},
      {"one frame rounds up", waveFile({}, zeros(2)), 1},
      {"a padded odd chunk before the data", waveFile({}, zeros(2205 * 2), oddChunk), 100},
      {"compressed: the fact chunk counts", waveFile({2, 1, 8000, 4}, zeros(100), factChunk(4000)),
       500},
      {"compressed without fact: the byte rate counts", waveFile({0x11, 1, 8000, 4}, zeros(4000)),
       500},
      {"empty data", waveFile({}, {}), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(waveLengthMs(c.file), c.ms) << c.name;
}

TEST(WaveLength, CountsOnlyTheDataPresentWhenTheFileIsCutShort) {
  const Bytes file = waveFile({}, zeros(22050 * 2));
  EXPECT_EQ(waveLengthMs(std::span(file).first(file.size() - 11025)), 750u);
}

TEST(WaveLength, RejectsWhatIsNotAWaveFile) {
  const Bytes good = waveFile({}, zeros(100));
  auto with = [&](size_t at, uint8_t value) {
    Bytes b = good;
    b[at] = value;
    return b;
  };
  const std::vector<std::pair<const char*, Bytes>> bad = {
      {"empty", {}},
      {"MIDI file", audio_test::scalePiece(2)},
      {"not RIFF", with(0, 'X')},
      {"not WAVE", with(8, 'X')},
      {"no channels", with(22, 0)},
      {"no sample rate",
       [&] {
         Bytes b = with(24, 0);
         b[25] = 0;
         return b;
       }()},
      {"no block size", with(32, 0)},
      {"format chunk too short", with(16, 12)},
      {"no data chunk", Bytes(good.begin(), good.begin() + 36)},
      {"format chunk past the end", Bytes(good.begin(), good.begin() + 30)},
  };
  for (const auto& [name, bytes] : bad) EXPECT_EQ(waveLengthMs(bytes), std::nullopt) << name;
}

TEST(WaveLength, EveryTruncationBeforeTheDataIsRejected) {
  const Bytes good = waveFile({}, zeros(100));
  for (size_t size = 0; size < 44; ++size)
    EXPECT_EQ(waveLengthMs(std::span(good).first(size)), std::nullopt) << size << " bytes";
  EXPECT_EQ(waveLengthMs(std::span(good).first(44)), 0u);
}

TEST(WaveLength, AHugeChunkSizeEndsTheWalk) {
  Bytes junk = {'J', 'U', 'N', 'K', 0xff, 0xff, 0xff, 0xff, 1, 2};
  EXPECT_EQ(waveLengthMs(waveFile({}, zeros(100), junk)), std::nullopt);
}

}  // namespace
