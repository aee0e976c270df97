// FADE run headless: the blinds of mode 1 and the negative flash of mode 2 as the shots
// and the presented frames show them, their virtual time, modes that do nothing, and the
// loaded picture that the effects never replace.
#include <gtest/gtest.h>

#include "picture_fixtures.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;
using namespace picture_fixtures;
using testing_support::runFolder;
using testing_support::scenarioFolder;
using testing_support::ScenarioOptions;
using testing_support::ScenarioResult;
using testing_support::writeScript;

constexpr formats::Rect kArea{0, 0, kAreaWidth, kAreaHeight};
constexpr Color kBlack = rgb(0, 0, 0);

// A game folder with a full-size picture "room" and a 200 x 100 picture "small".
fs::path folderWithPictures(const std::string& name) {
  fs::path folder = scenarioFolder(name);
  writePng(folder / "room.szg", kAreaWidth, kAreaHeight, 1);
  writePng(folder / "small.szg", 200, 100, 2);
  return folder;
}

ScenarioResult runShots(const fs::path& folder, const ShotScript& s) {
  writeScript(folder, s.script);
  ScenarioOptions o;
  o.shots = true;
  o.input = s.input;
  return runFolder(folder, o);
}

Image inverted(Image image, formats::Rect r) {
  image.paint(image, r.x, r.y, r.w, r.h, 0, 0, formats::RasterOp::DstInvert);
  return image;
}

Image areaWith(const Image& picture) {
  Image area(kAreaWidth, kAreaHeight, kAreaBack);
  area.blit(picture, 0, 0, area.bounds());
  return area;
}

TEST(Fade, BlindsLeaveTheWholeAreaBlackAndTheRestOfTheWindowAlone) {
  fs::path folder = folderWithPictures("Fade.blinds");
  runShots(folder, withShots({"GHG,room", "SHOT", "FADE,1", "EXIT"}));
  auto shots = readShots(folder);
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(pictureArea(shots[0]), pattern(kAreaWidth, kAreaHeight, 1));
  EXPECT_EQ(notOfColor(shots[1], kBlack, kArea), 0);
  EXPECT_EQ(differences(shots[1], shots[0], {kAreaWidth, 0, 2, kAreaHeight}), 0);
  EXPECT_EQ(differences(shots[1], shots[0], {0, kAreaHeight, shots[0].width(), 48}), 0);
}

TEST(Fade, BlindsCoverTheAreaWithoutAPictureToo) {
  fs::path folder = scenarioFolder("Fade.blinds-empty");
  runShots(folder, withShots({"FADE,1", "EXIT"}));
  EXPECT_EQ(notOfColor(readShots(folder).back(), kBlack, kArea), 0);
}

/* After pass p (p = 0..4) the rows whose number modulo 5 is at most p are black from
   x = 0 to 503, the others still show the picture; the passes are 100 ms apart. */
TEST(Fade, BlindsCloseInFiveVisibleStepsAHundredMillisecondsApart) {
  fs::path folder = folderWithPictures("Fade.blind-steps");
  Window w(folder, "GHG,room\nFADE,1\nEXIT\n");
  w.acs.run();
  const Image room = pattern(kAreaWidth, kAreaHeight, 1);
  std::vector<RecordingBackend::Frame> steps;
  bool shown = false;
  for (const auto& f : w.backend.frames) {
    if (shown && f.area != room) steps.push_back(f);
    shown = shown || f.area == room;
  }
  ASSERT_EQ(steps.size(), 5u);
  for (int p = 0; p < 5; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(steps[p].t - steps[0].t, 100u * p);
    Image expected = room;
    for (int y = 0; y < kAreaHeight; ++y)
      if (y % 5 <= p) expected.fill({0, y, kAreaWidth, 1}, kBlack);
    EXPECT_EQ(steps[p].area, expected);
  }
}

TEST(Fade, FlashTwiceLeavesThePictureAsItWas) {
  fs::path folder = folderWithPictures("Fade.flash-twice");
  runShots(folder, withShots({"GHG,room", "SHOT", "FADE,2", "SHOT", "FADE,2", "EXIT"}));
  auto shots = readShots(folder);
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_EQ(pictureArea(shots[0]), pattern(kAreaWidth, kAreaHeight, 1));
  EXPECT_EQ(shots[1], shots[0]);
  EXPECT_EQ(shots[2], shots[0]);
}

/* The frames shown during the flash: negative and positive in turn, 50 ms each, only
   inside the loaded picture's rectangle. */
struct FlashCase {
  const char* label;
  std::string script;
  Image before;           // the area before the flash
  formats::Rect flashed;  // the rectangle that turns negative
};

TEST(Fade, FlashInvertsOnlyTheLoadedPicturesRectangleSixTimes) {
  const Image small = areaWith(pattern(200, 100, 2));
  Image black(kAreaWidth, kAreaHeight, kBlack);
  const FlashCase cases[] = {
      {"full picture", "GHG,room\nFADE,2\nEXIT\n", pattern(kAreaWidth, kAreaHeight, 1), kArea},
      {"200 x 100 picture", "GHG,small\nFADE,2\nEXIT\n", small, {0, 0, 200, 100}},
      {"after the blinds", "GHG,small\nFADE,1\nFADE,2\nEXIT\n", black, {0, 0, 200, 100}},
      {"a smaller picture after a larger one",
       "GHG,room\nGHG,small\nFADE,2\nEXIT\n",
       small,
       {0, 0, 200, 100}},
  };
  int n = 0;
  for (const FlashCase& c : cases) {
    SCOPED_TRACE(c.label);
    fs::path folder = folderWithPictures("Fade.flash-" + std::to_string(n++));
    Window w(folder, c.script);
    w.acs.run();
    const Image negative = inverted(c.before, c.flashed);
    std::vector<RecordingBackend::Frame> flash;
    bool started = false;
    for (const auto& f : w.backend.frames) {
      started = started || f.area == negative;
      if (started) flash.push_back(f);
    }
    ASSERT_GE(flash.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
      EXPECT_EQ(flash[i].t - flash[0].t, 50u * i) << i;
      EXPECT_EQ(flash[i].area, i % 2 == 0 ? negative : c.before) << i;
    }
    EXPECT_EQ(pictureArea(w.acs.frame()), c.before);
  }
}

TEST(Fade, BlindsThenFlashEndBlack) {
  fs::path folder = folderWithPictures("Fade.blinds-flash");
  runShots(folder, withShots({"GHG,room", "FADE,1", "FADE,2", "EXIT"}));
  EXPECT_EQ(notOfColor(readShots(folder).back(), kBlack, kArea), 0);
}

TEST(Fade, FlashWithoutAPictureDrawsNothing) {
  fs::path folder = scenarioFolder("Fade.flash-empty");
  runShots(folder, withShots({"FADE,2", "EXIT"}));
  EXPECT_EQ(notOfColor(readShots(folder).back(), kAreaBack, kArea), 0);
}

/* The virtual time from a FADE to the next event, and what the area shows after it. */
TEST(Fade, EachModeTakesItsTimeAndOtherModesDoNothing) {
  struct Case {
    const char* mode;
    int traced;
    unsigned ms;
  } cases[] = {{"1", 1, 500}, {"2", 2, 300},       {"0", 0, 0},     {"3", 3, 0},
               {"-1", -1, 0}, {"32767", 32767, 0}, {"F05", 1, 500}, {"F06", 2, 300}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    fs::path folder = folderWithPictures("Fade.time-" + std::to_string(n++));
    auto r = runShots(folder, withShots({"LET,5,1", "LET,6,2", "GHG,room", "GHG,small",
                                         std::string("FADE,") + c.mode, "GHG,room", "EXIT"}));
    ASSERT_EQ(r.reason(), "exit");
    auto fades = r.all("fade");
    ASSERT_EQ(fades.size(), 1u);
    EXPECT_EQ(fades[0]["mode"].integer(), c.traced);
    auto pictures = r.all("picture");
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[2]["t"].integer() - fades[0]["t"].integer(), static_cast<long>(c.ms));
    EXPECT_EQ(pictures[1]["t"].integer(), fades[0]["t"].integer());
  }
}

TEST(Fade, ModesThatDoNothingLeaveTheArea) {
  fs::path folder = folderWithPictures("Fade.no-op");
  runShots(folder, withShots({"GHG,small", "SHOT", "FADE,0", "FADE,3", "FADE,-1", "EXIT"}));
  auto shots = readShots(folder);
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(pictureArea(shots[0]), areaWith(pattern(200, 100, 2)));
  EXPECT_EQ(shots[1], shots[0]);
}

/* The effects draw over the picture without replacing it: clearing the area's drawing
   brings the picture back, and a full repaint (a window uncovered) shows the drawing. */
TEST(Fade, TheLoadedPictureSurvivesUnderTheDrawing) {
  Controls w;
  gui::PictureBox& area = *w.c.Picture1;
  area.setPicture(pattern(200, 100, 2));
  std::vector<int16_t> pauses;
  media::Fade fade(
      area, [&](int16_t ms) { pauses.push_back(ms); }, w.recorder);
  fade.FADE(1);
  EXPECT_EQ(pauses, (std::vector<int16_t>{100, 100, 100, 100, 100}));
  EXPECT_EQ(notOfColor(area.canvas(), kBlack, kArea), 0);
  w.form.invalidate();
  EXPECT_EQ(notOfColor(w.form.frame(), kBlack, kArea), 0);
  ASSERT_TRUE(area.picture().has_value());
  EXPECT_EQ(*area.picture(), pattern(200, 100, 2));
  area.cls();
  EXPECT_EQ(area.canvas(), areaWith(pattern(200, 100, 2)));
  EXPECT_NE(w.trace.str().find(R"({"ev":"fade","t":0,"line":0,"mode":1})"), std::string::npos);
}

}  // namespace
