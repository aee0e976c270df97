// Which instruments a piece plays, and which patch files hold them: the page fetches
// only those.
#include "platform/web/midi_instruments.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using platform::midi::Instruments;
using platform::midi::instrumentsOf;
using platform::midi::patchFiles;

std::vector<uint8_t> smf(std::vector<std::vector<uint8_t>> tracks) {
  std::vector<uint8_t> out{
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, static_cast<uint8_t>(tracks.size()), 0, 96};
  for (const auto& t : tracks) {
    const auto n = t.size() + 4;
    out.insert(out.end(),
               {'M', 'T', 'r', 'k', 0, 0, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
    out.insert(out.end(), t.begin(), t.end());
    out.insert(out.end(), {0, 0xFF, 0x2F, 0});
  }
  return out;
}

struct Case {
  const char* name;
  std::vector<std::vector<uint8_t>> tracks;
  std::set<int> programs, drums;
};

TEST(MidiInstruments, FindsTheProgramsAndDrumsThatSound) {
  const Case cases[] = {
      {"a note without a program change plays program 0", {{0, 0x90, 60, 100}}, {0}, {}},
      {"program change then note", {{0, 0xC1, 40, 0, 0x91, 60, 100}}, {40}, {}},
      {"running status notes", {{0, 0xC0, 5, 0, 0x90, 60, 100, 10, 62, 100}}, {5}, {}},
      {"a program never sounded is not needed", {{0, 0xC0, 5, 0, 0xC0, 7, 0, 0x90, 1, 1}}, {7}, {}},
      {"note on with velocity 0 is a note off", {{0, 0xC0, 9, 0, 0x90, 60, 0}}, {}, {}},
      {"channel 10 is drums", {{0, 0x99, 36, 100, 0, 0x99, 38, 90}}, {}, {36, 38}},
      {"meta, sysex and controllers are skipped",
       {{0, 0xFF, 0x51, 3,    7, 0xA1, 0x20, 0,    0xF0, 2, 1,    0xF7, 0, 0xB0,
         7, 100,  0,    0xE0, 0, 64,   0,    0xD0, 5,    0, 0x90, 70,   80}},
       {0},
       {}},
      {"tracks share the channel's program", {{0, 0xC2, 30}, {0, 0x92, 60, 100}}, {30}, {}},
  };
  for (const Case& c : cases) {
    const Instruments got = instrumentsOf(smf(c.tracks));
    EXPECT_EQ(got.programs, c.programs) << c.name;
    EXPECT_EQ(got.drums, c.drums) << c.name;
  }
}

TEST(MidiInstruments, BrokenFilesGiveWhatTheirReadablePartNeeds) {
  EXPECT_TRUE(instrumentsOf(std::vector<uint8_t>{'R', 'I', 'F', 'F'}).programs.empty());
  EXPECT_TRUE(instrumentsOf({}).programs.empty());
  auto cut = smf({{0, 0xC0, 12, 0, 0x90, 60, 100, 0, 0xC0}});
  cut.resize(cut.size() - 6);  // the track ends inside its last event
  EXPECT_EQ(instrumentsOf(cut).programs, std::set<int>{12});
  // A length running past the end of the file reads what there is.
  auto longer = smf({{0, 0x90, 60, 100}});
  longer[21] = 0xFF;
  EXPECT_EQ(instrumentsOf(longer).programs, std::set<int>{0});
}

TEST(MidiInstruments, NamesThePatchFilesOfTheConfiguration) {
  const char* cfg =
      "# comment\n"
      "dir /freepats\n"
      "drumset 0\n"
      " 36\tDrum_000/036_Kick.pat amp=100\n"
      " 38\tDrum_000/038_Snare.pat\n"
      "bank 0\n"
      "0 Tone_000/000_Piano.pat\n"
      "40 Tone_000/040_Violin.pat amp=120\n";
  Instruments needed;
  needed.programs = {40, 41};
  needed.drums = {36};
  EXPECT_EQ(patchFiles(cfg, needed),
            (std::vector<std::string>{"/freepats/Drum_000/036_Kick.pat",
                                      "/freepats/Tone_000/040_Violin.pat"}));
  EXPECT_TRUE(patchFiles(cfg, {}).empty());
}

}  // namespace
