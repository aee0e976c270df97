#include "formats/midi_length.h"

#include <gtest/gtest.h>

#include <random>

#include "audio_fixtures.h"

namespace {

using audio_test::Bytes;
using audio_test::smf;
using audio_test::TrackBytes;
using formats::midiLengthMs;

struct LengthCase {
  const char* name;
  Bytes file;
  std::optional<uint32_t> ms;
};

std::vector<LengthCase> lengthCases() {
  std::vector<LengthCase> cases;
  cases.push_back({"default tempo is 120 bpm",
                   smf(0, 480, {TrackBytes().on(0, 60).off(960, 60).end(0)}), 1000});
  cases.push_back({"end of track counts as the last event",
                   smf(0, 480, {TrackBytes().on(0, 60).off(480, 60).end(480)}), 1000});
  cases.push_back(
      {"tempo change part way",
       smf(0, 480,
           {TrackBytes().tempo(0, 1000000).on(0, 60).tempo(480, 250000).off(480, 60).end(0)}),
       1250});
  cases.push_back({"tempo map of the first track rules the others in format 1",
                   smf(1, 480,
                       {TrackBytes().tempo(0, 1000000).tempo(960, 500000).end(0),
                        TrackBytes().on(0, 60).off(1920, 60).end(0)}),
                   3000});
  cases.push_back(
      {"tempo changes in a later track apply to all",
       smf(1, 96,
           {TrackBytes().on(0, 60).off(192, 60).end(0), TrackBytes().tempo(96, 250000).end(0)}),
       750});
  cases.push_back({"the longest track sets the length",
                   smf(1, 480,
                       {TrackBytes().end(0), TrackBytes().on(0, 60).off(480, 60).end(0),
                        TrackBytes().on(0, 64).off(1440, 64).end(0)}),
                   1500});
  cases.push_back({"running status",
                   smf(0, 480,
                       {TrackBytes()
                            .event(0, {0x90, 60, 100})
                            .event(240, {62, 100})
                            .event(240, {60, 0})
                            .event(480, {62, 0})
                            .end(0)}),
                   1000});
  cases.push_back({"one-data-byte messages under running status",
                   smf(0, 480,
                       {TrackBytes()
                            .event(0, {0xc0, 5})
                            .event(480, {6})
                            .event(0, {0xd0, 40})
                            .event(480, {41})
                            .end(0)}),
                   1000});
  cases.push_back({"meta, sysex and escape events are skipped by their lengths",
                   smf(0, 480,
                       {TrackBytes()
                            .event(0, {0xff, 0x01, 0x03, 'a', 'b', 'c'})
                            .event(0, {0xf0, 0x05, 0x7e, 0x7f, 0x09, 0x01, 0xf7})
                            .on(0, 60)
                            .event(480, {0xf7, 0x02, 0xf8, 0xfa})
                            .off(480, 60)
                            .end(0)}),
                   1000});
  cases.push_back(
      {"two-byte delta times", smf(0, 480, {TrackBytes().on(0, 60).off(4800, 60).end(0)}), 5000});
  cases.push_back({"lengths round up", smf(0, 480, {TrackBytes().on(1, 60).end(0)}), 2});
  cases.push_back({"SMPTE 25 frames of 40 ticks",
                   smf(0, 0xe728, {TrackBytes().on(0, 60).off(2500, 60).end(0)}), 2500});
  cases.push_back({"SMPTE 29.97 drop-frame",
                   smf(0, 0xe364, {TrackBytes().on(0, 60).off(3000, 60).end(0)}), 1001});
  cases.push_back({"a track without end-of-track event ends at its chunk",
                   smf(0, 480, {TrackBytes().on(0, 60).off(480, 60)}), 500});
  return cases;
}

TEST(MidiLength, ReadsTheLengthFromTheFilesOwnTiming) {
  for (const LengthCase& c : lengthCases()) EXPECT_EQ(midiLengthMs(c.file), c.ms) << c.name;
}

TEST(MidiLength, SkipsChunksOfOtherKinds) {
  Bytes file = smf(1, 480, {TrackBytes().end(0)});
  audio_test::chunk(file, "XFIH", {1, 2, 3});
  audio_test::chunk(file, "MTrk", TrackBytes().on(0, 60).off(960, 60).end(0).body());
  file[11] = 2;  // two tracks in the header
  EXPECT_EQ(midiLengthMs(file), 1000u);
}

TEST(MidiLength, ReadsOnlyAsManyTracksAsTheHeaderNames) {
  Bytes file = smf(
      1, 480,
      {TrackBytes().on(0, 60).off(480, 60).end(0), TrackBytes().on(0, 60).off(4800, 60).end(0)});
  file[11] = 1;
  EXPECT_EQ(midiLengthMs(file), 500u);
}

TEST(MidiLength, RejectsFilesThatAreNotCompleteFormat0Or1) {
  const Bytes good = audio_test::scalePiece(3);
  ASSERT_EQ(midiLengthMs(good), 1500u);
  auto with = [&](size_t at, uint8_t value) {
    Bytes b = good;
    b[at] = value;
    return b;
  };
  const std::vector<std::pair<const char*, Bytes>> bad = {
      {"empty", {}},
      {"wave file", audio_test::toneWave(10)},
      {"format 2", with(9, 2)},
      {"no tracks", with(11, 0)},
      {"division 0",
       [&] {
         Bytes b = with(12, 0);
         b[13] = 0;
         return b;
       }()},
      {"SMPTE rate 23", with(12, 0xe9)},
      {"header length 5", with(7, 5)},
      {"header length past the end", with(4, 0x7f)},
      {"track length past the end", with(21, 0xff)},
      {"two tracks named, one present", with(11, 2)},
      {"data byte without running status",
       smf(0, 480, {TrackBytes().event(0, {0x3c, 0x40}).end(0)})},
      {"five-byte delta time",
       smf(0, 480, {TrackBytes().raw({0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 64})})},
      {"system common byte in a track", smf(0, 480, {TrackBytes().event(0, {0xf2, 0, 0}).end(0)})},
      {"meta event longer than its track",
       smf(0, 480, {TrackBytes().event(0, {0xff, 0x01, 0x40, 'x'})})},
      {"note cut short", smf(0, 480, {TrackBytes().event(0, {0x90, 60})})},
  };
  for (const auto& [name, bytes] : bad) EXPECT_EQ(midiLengthMs(bytes), std::nullopt) << name;
}

TEST(MidiLength, EveryTruncationIsRejected) {
  const Bytes good = audio_test::scalePiece(4);
  for (size_t size = 0; size < good.size(); ++size)
    EXPECT_EQ(midiLengthMs(std::span(good).first(size)), std::nullopt) << size << " bytes";
}

TEST(MidiLength, RejectsLengthsBeyondTwoToThe31Milliseconds) {
  TrackBytes slow;
  slow.tempo(0, 0xffffff);
  for (int i = 0; i < 40; ++i) slow.on(0x0fffffff, 60);
  EXPECT_EQ(midiLengthMs(smf(0, 1, {slow.end(0)})), std::nullopt);
}

/* Damaged files must come back with a bounded answer or none, never read out of
   bounds (the sanitiser build checks the reads). */
TEST(MidiLength, SurvivesRandomDamage) {
  const Bytes good =
      smf(1, 480,
          {TrackBytes().tempo(0, 400000).end(0), TrackBytes()
                                                     .event(0, {0xf0, 0x02, 0x01, 0xf7})
                                                     .on(0, 60)
                                                     .event(100, {62, 90})
                                                     .off(380, 60)
                                                     .end(0)});
  std::mt19937 random(7);
  int readable = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes damaged = good;
    for (int hits = 1 + round % 4; hits > 0; --hits)
      damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
    const auto ms = midiLengthMs(damaged);
    if (ms) ++readable;
    EXPECT_LE(ms.value_or(0), 2147483647u);
  }
  EXPECT_GT(readable, 0);
}

}  // namespace
