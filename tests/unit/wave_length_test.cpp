#include "formats/wave_length.h"

#include <gtest/gtest.h>

#include "audio_fixtures.h"

namespace {

using audio_test::Bytes;
using audio_test::riffWave;
using audio_test::waveFile;
using audio_test::WaveFormat;
using formats::waveLengthMs;

Bytes zeros(size_t n) { return Bytes(n, 0); }

Bytes factChunk(uint32_t samples) {
  Bytes out = {'f', 'a', 'c', 't', 4, 0, 0, 0};
  audio_test::littleEndian(out, samples, 4);
  return out;
}

// The format chunk of MS ADPCM with the seven standard coefficient pairs.
Bytes msAdpcmFormat(uint16_t channels, uint32_t rate, uint16_t blockAlign, uint16_t samplesPerBlock,
                    int16_t firstCoefficient = 256) {
  Bytes f = audio_test::waveFormat({2, channels, rate, 4}, blockAlign);
  audio_test::littleEndian(f, 32, 2);  // the extension's size
  audio_test::littleEndian(f, samplesPerBlock, 2);
  audio_test::littleEndian(f, 7, 2);
  const int16_t pairs[14] = {
      firstCoefficient, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232};
  for (int16_t c : pairs) audio_test::littleEndian(f, static_cast<uint16_t>(c), 2);
  return f;
}

Bytes imaAdpcmFormat(uint16_t channels, uint32_t rate, uint16_t blockAlign,
                     uint16_t samplesPerBlock) {
  Bytes f = audio_test::waveFormat({0x11, channels, rate, 4}, blockAlign);
  audio_test::littleEndian(f, 2, 2);
  audio_test::littleEndian(f, samplesPerBlock, 2);
  return f;
}

// The extensible format chunk naming `encoding` by its GUID.
Bytes extensibleFormat(const WaveFormat& f, uint16_t encoding) {
  Bytes out = audio_test::waveFormat({0xfffe, f.channels, f.rate, f.bits});
  audio_test::littleEndian(out, 22, 2);
  audio_test::littleEndian(out, f.bits, 2);
  audio_test::littleEndian(out, 0, 4);  // the speaker mask
  audio_test::littleEndian(out, encoding, 2);
  out.insert(out.end(), {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xaa, 0, 0x38, 0x9b, 0x71});
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
      {"MS ADPCM: whole blocks of 500 samples",
       riffWave(msAdpcmFormat(1, 8000, 256, 500), zeros(2048)), 500},
      {"MS ADPCM: a fact chunk claiming more counts for nothing",
       riffWave(msAdpcmFormat(1, 8000, 256, 500), zeros(2048 + 100), factChunk(4000000)), 500},
      {"IMA ADPCM stereo: 505 samples a block",
       riffWave(imaAdpcmFormat(2, 10100, 512, 505), zeros(5120)), 500},
      {"IMA ADPCM without samples per block",
       riffWave(audio_test::waveFormat({0x11, 1, 10100, 4}, 256), zeros(2560)), 500},
      {"A-law", waveFile({6, 1, 8000, 8}, zeros(4000)), 500},
      {"24-bit stereo", waveFile({1, 2, 48000, 24}, zeros(48000 * 6 / 4)), 250},
      {"extensible PCM", riffWave(extensibleFormat({1, 2, 44100, 16}, 1), zeros(44100 * 4)), 1000},
      {"8 channels at the lowest rate", waveFile({1, 8, 1000, 16}, zeros(1000 * 16)), 1000},
      {"the highest rate", waveFile({1, 1, 384000, 16}, zeros(384000 * 2)), 1000},
      {"empty data", waveFile({}, {}), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(waveLengthMs(c.file), c.ms) << c.name;
}

/* What the mixer's loader or converter cannot take never reaches it: the sound then plays
   as a missing file does. */
TEST(WaveLength, RejectsFormatsTheMixerCannotConvertSafely) {
  const std::vector<std::pair<const char*, Bytes>> bad = {
      {"1 sample per second", waveFile({1, 1, 1, 16}, zeros(114616))},
      {"a rate below 1000 Hz", waveFile({1, 1, 999, 16}, zeros(100))},
      {"a rate above 384 kHz", waveFile({1, 1, 384001, 16}, zeros(100))},
      {"9 channels", waveFile({1, 9, 8000, 16}, zeros(180))},
      {"12-bit PCM", waveFile({1, 1, 8000, 12}, zeros(100))},
      {"64-bit float", waveFile({3, 1, 8000, 64}, zeros(800))},
      {"a block larger than the frame",
       riffWave(audio_test::waveFormat({1, 1, 8000, 16}, 4), zeros(100))},
      {"16-bit A-law", waveFile({6, 1, 8000, 16}, zeros(100))},
      {"MPEG layer 3", waveFile({0x55, 2, 44100, 0}, zeros(1000))},
      {"MS ADPCM with a foreign coefficient",
       riffWave(msAdpcmFormat(1, 8000, 256, 500, 255), zeros(256))},
      {"MS ADPCM blocks too small for their samples",
       riffWave(msAdpcmFormat(1, 8000, 256, 600), zeros(256))},
      {"MS ADPCM in three channels", riffWave(msAdpcmFormat(3, 8000, 256, 70), zeros(256))},
      {"IMA ADPCM blocks not a multiple of four",
       riffWave(imaAdpcmFormat(1, 8000, 254, 0), zeros(254))},
      {"an extensible header naming MP3",
       riffWave(extensibleFormat({1, 2, 44100, 16}, 0x55), zeros(100))},
  };
  for (const auto& [name, bytes] : bad) EXPECT_EQ(waveLengthMs(bytes), std::nullopt) << name;
  // The largest conversion allowed: 8-bit mono at 1379 Hz grows 4 x 2 x 32 times.
  const auto atLimit = formats::readWave(waveFile({1, 1, 1379, 8}, zeros(size_t{1} << 22)));
  ASSERT_TRUE(atLimit);
  EXPECT_EQ(atLimit->convertedBytes, formats::kMaxConvertedWaveBytes);
  EXPECT_EQ(formats::readWave(waveFile({1, 1, 1379, 8}, zeros((size_t{1} << 22) + 1))),
            std::nullopt);
}

TEST(WaveLength, CountsOnlyTheDataPresentWhenTheFileIsCutShort) {
  const Bytes file = waveFile({}, zeros(22050 * 2));
  EXPECT_EQ(waveLengthMs(std::span(file).first(file.size() - 11025)), 750u);
}

/* What the mixer's loader gets claims no more than the file holds: it allocates what the
   data chunk claims before it reads a byte. */
TEST(WaveLength, ADataChunkClaimingMoreIsTrimmedToWhatIsThere) {
  Bytes file = waveFile({}, zeros(22050 * 2));
  for (int i = 40; i < 44; ++i) file[i] = 0xff;  // the data chunk claims 4 GB
  const auto wave = formats::readWave(file);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->lengthMs, 1000u);
  formats::trimDataChunk(file, *wave);
  EXPECT_EQ(Bytes(file.begin() + 40, file.begin() + 44), (Bytes{0x44, 0xac, 0x00, 0x00}));
  EXPECT_EQ(formats::readWave(file)->lengthMs, 1000u);
  const Bytes whole = waveFile({}, zeros(100));
  Bytes same = whole;
  formats::trimDataChunk(same, *formats::readWave(same));
  EXPECT_EQ(same, whole) << "a whole file is left as it is";
}

/* The chunks count as the mixer's loader counts them: the first format chunk and the first
   data chunk, and no format chunk after the data. */
TEST(WaveLength, TheFirstFormatAndDataChunksCount) {
  const Bytes badFormat = {'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                           0x22, 0x56, 0,   0,   0x44, 0xac, 0, 0, 'W', 'A', 'V', 'E'};
  Bytes twoFormats = waveFile({}, zeros(100));
  twoFormats.insert(twoFormats.begin() + 12, badFormat.begin(), badFormat.end());
  EXPECT_EQ(waveLengthMs(twoFormats), std::nullopt) << "the first format chunk is broken";
  const Bytes data = {'d', 'a', 't', 'a', 4, 0, 0, 0, 0, 0, 0, 0};
  Bytes formatAfterData = waveFile({}, zeros(44100));
  formatAfterData.insert(formatAfterData.begin() + 12, data.begin(), data.end());
  EXPECT_EQ(waveLengthMs(formatAfterData), std::nullopt);
  Bytes twoData = waveFile({}, zeros(44100));
  twoData.insert(twoData.begin() + 36, data.begin(), data.end());
  EXPECT_EQ(waveLengthMs(twoData), 1u) << "two frames in the first data chunk";
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
