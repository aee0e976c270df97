// Mouse routing, event order, timers and painting of the toolkit's form.
#include "gui/form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_backend.h"

namespace {

using gui::FontSpec;
using gui::Label;
using gui::PictureBox;
using testing_support::FakeBackend;

struct FormFixture : ::testing::Test {
  FakeBackend backend;
  gui::Form form{backend, 200, 100};
  PictureBox* picture = nullptr;
  Label* label = nullptr;
  std::vector<std::string> log;

  void SetUp() override {
    picture = &form.addPictureBox(nullptr, {0, 0, 100, 100}, false);
    label = &form.addLabel(picture, {10, 10, 50, 20}, FontSpec{});
    watch(*picture, "pic");
    watch(*label, "lab");
  }
  void watch(gui::Control& c, std::string name) {
    c.onMouseDown = [this, name](const gui::MouseArgs& a) {
      log.push_back(name + " down " + std::to_string(static_cast<int>(a.button)) + " " +
                    std::to_string(a.x) + "," + std::to_string(a.y));
    };
    c.onMouseUp = [this, name](const gui::MouseArgs& a) {
      log.push_back(name + " up " + std::to_string(static_cast<int>(a.button)));
    };
    c.onClick = [this, name] { log.push_back(name + " click"); };
    c.onDblClick = [this, name] { log.push_back(name + " dblclick"); };
  }
};

TEST_F(FormFixture, PressAndReleaseGiveDownUpClickInOrderWithRelativePositions) {
  backend.click(15, 12);
  form.doEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"lab down 1 5,2", "lab up 1", "lab click"}));
}

TEST_F(FormFixture, HiddenAndDisabledControlsLetTheClickThroughToWhatIsBeneath) {
  label->setVisible(false);
  backend.click(15, 12, gui::MouseButton::Right);
  form.doEvents();
  label->setVisible(true);
  label->setEnabled(false);
  backend.click(15, 12);
  form.doEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"pic down 2 15,12", "pic up 2", "pic click",
                                           "pic down 1 15,12", "pic up 1", "pic click"}));
}

TEST_F(FormFixture, AChildOfAHiddenParentGetsNothing) {
  picture->setVisible(false);
  backend.click(15, 12);
  form.doEvents();
  EXPECT_TRUE(log.empty());
}

TEST_F(FormFixture, DoubleClickReplacesTheSecondDownAndClick) {
  backend.doubleClick(50, 50);
  form.doEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"pic down 1 50,50", "pic up 1", "pic click",
                                           "pic dblclick", "pic up 1"}));
}

TEST_F(FormFixture, ReleaseOutsideGoesToThePressedControlWithoutAClick) {
  backend.press(gui::RawInput::Press, 15, 12);
  backend.press(gui::RawInput::Release, 150, 80);
  form.doEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"lab down 1 5,2", "lab up 1"}));
}

TEST_F(FormFixture, ClickOnTheBareFormReachesNoControl) {
  backend.click(150, 50);
  form.doEvents();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(form.hitTest(150, 50), nullptr);
}

TEST_F(FormFixture, InputAimedAtAPlaceLandsOnItsControl) {
  form.addPlace(gui::Place::MenuLabel, 3, *label);
  form.addPlace(gui::Place::PictureArea, 0, *picture, formats::Point{90, 95});
  for (auto place : {gui::Place::MenuLabel, gui::Place::PictureArea}) {
    for (auto type : {gui::RawInput::Press, gui::RawInput::Release}) {
      gui::RawInput in;
      in.type = type;
      in.place = place;
      in.index = place == gui::Place::MenuLabel ? 3 : 0;
      backend.inputs.push_back(in);
    }
  }
  form.doEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"lab down 1 25,10", "lab up 1", "lab click",
                                           "pic down 1 90,95", "pic up 1", "pic click"}));
}

TEST_F(FormFixture, TimersTickOnlyWhenDueAndDoNotMakeUpMissedTicks) {
  int ticks = 0;
  auto& timer = form.addTimer(100);
  timer.onTimer = [&] { ++ticks; };
  backend.now = 1000;
  timer.setEnabled(true);
  backend.now = 1099;
  form.doEvents();
  EXPECT_EQ(ticks, 0);
  backend.now = 1100;
  form.doEvents();
  EXPECT_EQ(ticks, 1);
  backend.now = 1550;  // four ticks missed while blocked: one tick now
  form.doEvents();
  EXPECT_EQ(ticks, 2);
  backend.now = 1600;
  form.doEvents();
  EXPECT_EQ(ticks, 3);
  timer.setEnabled(false);
  backend.now = 5000;
  form.doEvents();
  EXPECT_EQ(ticks, 3);
}

TEST_F(FormFixture, SleepStopsAtTheNextTimerTick) {
  auto& timer = form.addTimer(100);
  backend.now = 0;
  timer.setEnabled(true);
  form.sleepUntil(250);
  EXPECT_EQ(backend.now, 100u);
  timer.setEnabled(false);
  form.sleepUntil(250);
  EXPECT_EQ(backend.now, 250u);
}

// A window sleeps past the ticks of a timer that can do nothing before a given tick, to
// the first tick of its own at or after it; a virtual clock still stops at every tick.
TEST_F(FormFixture, AnIdleTimerWakesAWindowOnlyAtItsFirstTickThatCanMatter) {
  auto& timer = form.addTimer(100);
  std::optional<uint32_t> idle;
  timer.idleUntil = [&] { return idle; };
  const struct {
    std::optional<uint32_t> idle;
    uint32_t wake;
  } cases[] = {{std::nullopt, 100}, {50, 100}, {100, 100}, {101, 200}, {3450, 3500}, {3500, 3500}};
  for (const auto& c : cases) {
    for (const bool window : {true, false}) {
      idle = c.idle;
      backend.now = 0;
      timer.setEnabled(false);
      timer.setEnabled(true);  // ticks at 100, 200, ...
      EXPECT_EQ(timer.wakeAt(), c.wake) << c.idle.value_or(0);
      form.setSleepsWhenIdle(window);
      form.sleepUntil(10000);
      EXPECT_EQ(backend.now, window ? c.wake : 100u) << c.idle.value_or(0);
    }
  }
}

TEST_F(FormFixture, FramePaintsChildrenOverParentsAndOmitsHiddenOnes) {
  form.show();
  picture->setBackColor(formats::rgb(64, 64, 64));
  label->setBackColor(formats::rgb(0, 128, 0));
  EXPECT_EQ(form.frame().at(5, 5), formats::rgb(64, 64, 64));
  EXPECT_EQ(form.frame().at(59, 29), formats::rgb(0, 128, 0));
  EXPECT_EQ(form.frame().at(150, 50), formats::rgb(0, 0, 0));
  label->setVisible(false);
  EXPECT_EQ(form.frame().at(59, 29), formats::rgb(64, 64, 64));
}

TEST_F(FormFixture, UnchangedSettersDoNotRepaint) {
  form.show();
  form.doEvents();
  int before = backend.presents;
  label->setCaption(U"");
  label->setVisible(true);
  label->setBackColor(label->backColor());
  form.doEvents();
  EXPECT_EQ(backend.presents, before);
  label->setCaption(U"x");
  form.doEvents();
  EXPECT_EQ(backend.presents, before + 1);
}

TEST(PictureBox, ANewBackColourRepaintsTheCanvasAlsoThroughTheControlInterface) {
  FakeBackend backend;
  gui::Form form(backend, 40, 40);
  PictureBox& box = form.addPictureBox(nullptr, {0, 0, 20, 20}, false);
  static_cast<gui::Control&>(box).setBackColor(formats::rgb(1, 2, 3));
  EXPECT_EQ(box.canvas().at(7, 7), formats::rgb(1, 2, 3));
}

TEST(PictureBox, ClearKeepsThePictureAndDropsDrawing) {
  FakeBackend backend;
  gui::Form form{backend, 50, 50};
  auto& box = form.addPictureBox(nullptr, {0, 0, 20, 20}, false);
  box.setBackColor(formats::rgb(1, 2, 3));
  box.setPicture(formats::Image(10, 10, formats::rgb(200, 0, 0)));
  box.line(0, 15, 19, 15, formats::rgb(0, 0, 255));
  box.paintPicture(formats::Image(), 0, 0, 10, 10, 0, 0, formats::RasterOp::DstInvert);
  EXPECT_EQ(box.canvas().at(5, 5), formats::rgb(55, 255, 255));
  EXPECT_EQ(box.canvas().at(19, 15), formats::rgb(0, 0, 255));
  box.cls();
  EXPECT_EQ(box.canvas().at(5, 5), formats::rgb(200, 0, 0));
  EXPECT_EQ(box.canvas().at(19, 15), formats::rgb(1, 2, 3));
  EXPECT_EQ(box.currentX(), 0);
}

TEST(PictureBox, InnerSizeInItsScaleUnitExcludesTheBorder) {
  FakeBackend backend;
  gui::Form form{backend, 506, 384};
  auto& mes = form.addPictureBox(nullptr, {0, 338, 460, 45}, true);
  mes.setScaleMode(gui::ScaleMode::Points);
  EXPECT_DOUBLE_EQ(mes.innerWidth(), 342.0);
  EXPECT_DOUBLE_EQ(mes.innerHeight(), 30.75);
  mes.setFont(gui::FontSpec{gui::Face::Gothic, 14.25, false});
  mes.setFontSize(14);
  EXPECT_DOUBLE_EQ(mes.fontSize(), 14.25);
  EXPECT_EQ(mes.font()->height(), 19);
  EXPECT_EQ(mes.font()->advance(U'あ'), 19);
  EXPECT_EQ(mes.font()->advance(U'A'), 10);
}

}  // namespace
