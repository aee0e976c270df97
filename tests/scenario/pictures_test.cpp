// GHG run headless: pictures of every format found by content under the name + ".szg",
// the lookup of names, failures that leave the area as it was, the trace, and the item
// strip of Picture2 with the tile copy the item menu uses.
#include "media/pictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>

#include "backends/headless/headless_backend.h"
#include "gui/assets.h"
#include "picture_fixtures.h"
#include "platform/file_names.h"
#include "platform/text_codec.h"
#include "support/scenario.h"
#include "ui/acs.h"

namespace {

namespace fs = std::filesystem;
using namespace picture_fixtures;
using testing_support::runFolder;
using testing_support::scenarioFolder;
using testing_support::ScenarioOptions;
using testing_support::ScenarioResult;
using testing_support::writeScript;

ScenarioResult runWithShots(const fs::path& folder, const std::string& script,
                            const std::string& input = "") {
  writeScript(folder, script);
  ScenarioOptions o;
  o.shots = true;
  o.input = input;
  return runFolder(folder, o);
}

ScenarioResult runWithShots(const fs::path& folder, const ShotScript& s) {
  return runWithShots(folder, s.script, s.input);
}

// The area holds the pattern picture at its top-left corner and the background elsewhere.
void expectPatternShown(const Image& area, int width, int height, int seed) {
  Image expected(kAreaWidth, kAreaHeight, kAreaBack);
  expected.paint(pattern(width, height, seed), 0, 0, width, height, 0, 0, formats::RasterOp::Copy);
  EXPECT_EQ(differences(area, expected, expected.bounds()), 0);
}

int channelDistance(Color a, Color b) {
  int d = 0;
  for (int shift : {0, 8, 16}) d += std::abs(int((a >> shift) & 255) - int((b >> shift) & 255));
  return d;
}

TEST(Pictures, EachFormatLoadsByContentWhateverTheExtension) {
  for (Format format : {Format::Png, Format::Bmp, Format::Gif, Format::Jpeg}) {
    SCOPED_TRACE(formatName(format));
#ifdef _WIN32
    // The Windows build's picture library reads JPEG but cannot write the test's picture
    // (scripts/port-smoke decodes a JPEG there).
    if (format == Format::Jpeg) continue;
#endif
    fs::path folder = scenarioFolder(std::string("Pictures.format-") + formatName(format));
    ASSERT_TRUE(writePattern(folder / "pic.szg", format, 120, 88, 5));
    auto r = runWithShots(folder, "GHG,pic\nEXIT\n");
    EXPECT_EQ(r.reason(), "exit");
    EXPECT_EQ(r.first("picture")["name"].str(), "pic");
    EXPECT_TRUE(r.first("picture")["ok"].boolean());
    EXPECT_EQ(r.last("wait")["picture"].str(), "pic");
    Image area = pictureArea(readShots(folder).back());
    if (format != Format::Jpeg) {
      expectPatternShown(area, 120, 88, 5);
      continue;
    }
    // JPEG is lossy: the picture's rectangle is close to the pattern (much closer than to
    // another pattern), the rest untouched.
    auto meanDistance = [&](int seed) {
      Image p = pattern(120, 88, seed);
      long total = 0;
      for (int y = 0; y < 88; ++y)
        for (int x = 0; x < 120; ++x) total += channelDistance(area.at(x, y), p.at(x, y));
      return total / (120 * 88);
    };
    EXPECT_LT(meanDistance(5), 45);
    EXPECT_GT(meanDistance(6), 3 * meanDistance(5));
    EXPECT_EQ(notOfColor(area, kAreaBack, {120, 0, kAreaWidth - 120, kAreaHeight}), 0);
    EXPECT_EQ(notOfColor(area, kAreaBack, {0, 88, 120, kAreaHeight - 88}), 0);
  }
}

TEST(Pictures, ALargePictureIsClippedToTheAreaAndLeavesTheRestOfTheWindow) {
  fs::path plain = scenarioFolder("Pictures.clip-plain");
  runWithShots(plain, "EXIT\n");
  fs::path folder = scenarioFolder("Pictures.clip");
  ASSERT_TRUE(writePng(folder / "big.szg", 600, 400, 2));
  runWithShots(folder, "GHG,big\nEXIT\n");
  Image shot = readShots(folder).back(), plainShot = readShots(plain).back();
  expectPatternShown(pictureArea(shot), kAreaWidth, kAreaHeight, 2);
  EXPECT_EQ(differences(shot, plainShot, {kAreaWidth, 0, shot.width() - kAreaWidth, kAreaHeight}),
            0);
  EXPECT_EQ(
      differences(shot, plainShot, {0, kAreaHeight, shot.width(), shot.height() - kAreaHeight}), 0);
}

TEST(Pictures, ANewPictureReplacesTheOldOneAndEverythingDrawnOverIt) {
  fs::path folder = scenarioFolder("Pictures.replace");
  ASSERT_TRUE(writePng(folder / "big.szg", kAreaWidth, kAreaHeight, 1));
  ASSERT_TRUE(writePng(folder / "small.szg", 200, 100, 2));
  auto r = runWithShots(folder, "GHG,big\nFADE,1\nGHG,small\nEXIT\n");
  expectPatternShown(pictureArea(readShots(folder).back()), 200, 100, 2);
  EXPECT_EQ(r.last("wait")["picture"].str(), "small");
}

struct BrokenCase {
  const char* label;
  const char* name;  // as written in the script
  std::function<void(const fs::path& folder)> make;
};

std::vector<BrokenCase> brokenCases() {
  return {
      {"missing", "nothere", [](const fs::path&) {}},
      {"empty name", "", [](const fs::path&) {}},
      {"truncated PNG", "cut",
       [](const fs::path& f) {
         writePng(f / "tmp.png", 300, 200, 3);
         std::string bytes = readBytes(f / "tmp.png");
         writeBytes(f / "cut.szg", bytes.substr(0, bytes.size() / 2));
       }},
      {"PNG signature only", "sig",
       [](const fs::path& f) { writeBytes(f / "sig.szg", "\x89PNG\r\n\x1a\n"); }},
      {"random bytes", "noise",
       [](const fs::path& f) {
         std::mt19937 rng(7);
         std::string bytes;
         for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(rng() & 255);
         writeBytes(f / "noise.szg", bytes);
       }},
      {"text file", "note",
       [](const fs::path& f) { writeBytes(f / "note.szg", "This is not a picture.\r\n"); }},
      {"empty file", "zero", [](const fs::path& f) { writeBytes(f / "zero.szg", ""); }},
      {"folder", "x",
       [](const fs::path& f) {
         fs::create_directories(f / "x.szg");
         writePng(f / "x.szg" / "inner.png", 10, 10, 0);
       }},
      {"name with a blank", " good", [](const fs::path&) {}},
  };
}

/* A load that fails shows nothing new: the picture before it stays, and so does a fade
   drawn over that picture. */
TEST(Pictures, AFailedLoadLeavesTheAreaExactlyAsItWas) {
  auto cases = brokenCases();
  for (size_t i = 0; i < cases.size(); ++i) {
    const BrokenCase& c = cases[i];
    SCOPED_TRACE(c.label);
    fs::path folder = scenarioFolder("Pictures.broken-" + std::to_string(i));
    ASSERT_TRUE(writePng(folder / "good.szg", 300, 200, 4));
    c.make(folder);
    const std::string bad = std::string("GHG,") + c.name;
    auto r =
        runWithShots(folder, withShots({"GHG,good", "SHOT", bad, "SHOT", "FADE,1", bad, "EXIT"}));
    ASSERT_EQ(r.reason(), "exit");
    auto pictures = r.all("picture");
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_TRUE(pictures[0]["ok"].boolean());
    EXPECT_EQ(pictures[1]["name"].str(), c.name);
    EXPECT_FALSE(pictures[1]["ok"].boolean());
    EXPECT_FALSE(pictures[2]["ok"].boolean());
    EXPECT_EQ(r.last("wait")["picture"].str(), "good");

    auto shots = readShots(folder);
    ASSERT_EQ(shots.size(), 3u);
    expectPatternShown(pictureArea(shots[0]), 300, 200, 4);
    EXPECT_EQ(shots[1], shots[0]);
    EXPECT_EQ(notOfColor(pictureArea(shots[2]), rgb(0, 0, 0), {0, 0, kAreaWidth, kAreaHeight}), 0);
  }
}

TEST(Pictures, NamesMatchWithoutRegardToCaseAndBackslashSeparatesFolders) {
  fs::path folder = scenarioFolder("Pictures.lookup");
  ASSERT_TRUE(writePng(folder / "Pics" / "Room.SZG", 64, 48, 1));
  ASSERT_TRUE(writePng(folder / "HALL.szg", 64, 48, 2));
  ASSERT_TRUE(writePng(folder / platform::pathFromUtf8("部屋.szg"), 64, 48, 3));
  auto sjis = platform::encodeCp932(U"絵.szg");
  ASSERT_TRUE(sjis);
  const auto legacy = platform::legacyName(*sjis);  // as a tool without Unicode names wrote it
  ASSERT_TRUE(legacy);
  ASSERT_TRUE(writePng(folder / *legacy, 64, 48, 4));
  struct Case {
    const char* name;
    int seed;
  } cases[] = {{"pics\\room", 1}, {"PICS\\ROOM", 1}, {"Pics/Room", 1}, {"hall", 2},
               {"Hall", 2},       {"部屋", 3},       {"絵", 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeScript(folder, std::string("GHG,") + c.name + "\nEXIT\n");
    fs::remove_all(folder / "shots");
    ScenarioOptions o;
    o.shots = true;
    auto r = runFolder(folder, o);
    EXPECT_TRUE(r.first("picture")["ok"].boolean());
    EXPECT_EQ(r.first("picture")["name"].str(), c.name);
    EXPECT_EQ(r.last("wait")["picture"].str(), c.name);
    expectPatternShown(pictureArea(readShots(folder).back()), 64, 48, c.seed);
  }
}

TEST(Pictures, WaitSnapshotNamesTheLastPictureThatLoaded) {
  fs::path folder = scenarioFolder("Pictures.snapshot");
  ASSERT_TRUE(writePng(folder / "a.szg", 10, 10, 0));
  ASSERT_TRUE(writePng(folder / "b.szg", 10, 10, 1));
  auto r = runWithShots(folder, withShots({"SHOT", "GHG,a", "SHOT", "GHG,missing", "SHOT", "GHG,b",
                                           "GHG,a", "GHG,b", "EXIT"}));
  auto waits = r.all("wait");
  ASSERT_EQ(waits.size(), 4u);
  EXPECT_TRUE(waits[0]["picture"].isNull());
  EXPECT_EQ(waits[1]["picture"].str(), "a");
  EXPECT_EQ(waits[2]["picture"].str(), "a");
  EXPECT_EQ(waits[3]["picture"].str(), "b");
  auto pictures = r.all("picture");
  ASSERT_EQ(pictures.size(), 5u);
  const bool ok[] = {true, false, true, true, true};
  for (size_t i = 0; i < pictures.size(); ++i) EXPECT_EQ(pictures[i]["ok"].boolean(), ok[i]) << i;
}

TEST(Pictures, Picture2HoldsTheItemStripFromStartUp) {
  Controls w;
  EXPECT_FALSE(w.c.Picture2->visible());
  media::Pictures pictures(*w.c.Picture1, *w.c.Picture2, w.folder, w.recorder);
  const auto& strip = w.c.Picture2->picture();
  ASSERT_TRUE(strip.has_value());
  EXPECT_EQ(strip->width(), 800);
  EXPECT_EQ(strip->height(), 100);
  EXPECT_EQ(*strip, *formats::decodePicture(gui::asset("item_strip.gif")));
  EXPECT_EQ(pictures.itemStrip(), &*strip);
}

/* Tile e of the strip lands unscaled at (100, 100) of Picture1 as a plain copy; the rest
   of the area keeps the picture. Each tile is traced. */
TEST(Pictures, AnItemTileIsCopiedTo100x100OfThePictureArea) {
  fs::path folder = scenarioFolder("Pictures.tile");
  ASSERT_TRUE(writePng(folder / "room.szg", kAreaWidth, kAreaHeight, 6));
  Controls w(folder);
  media::Pictures pictures(*w.c.Picture1, *w.c.Picture2, w.folder, w.recorder);
  pictures.GHG(U"room");
  const Image& strip = *pictures.itemStrip();
  for (int e = 0; e < engine::kItems; ++e) {
    SCOPED_TRACE(e);
    w.c.Picture1->cls();
    pictures.paintItemTile(e);
    Image expected = pattern(kAreaWidth, kAreaHeight, 6);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) expected.set(100 + x, 100 + y, strip.at(100 * e + x, y));
    EXPECT_EQ(w.c.Picture1->canvas(), expected);
    EXPECT_NE(w.trace.str().find(
                  "\"ev\":\"item\",\"t\":0,\"line\":0,\"entry\":" + std::to_string(e) + "}"),
              std::string::npos);
  }
  w.c.Picture1->cls();
  EXPECT_EQ(w.c.Picture1->canvas(), pattern(kAreaWidth, kAreaHeight, 6));
}

}  // namespace
