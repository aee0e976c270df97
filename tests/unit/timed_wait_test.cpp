// TWAIT against a clock the test controls.
#include "media/timed_wait.h"

#include <gtest/gtest.h>

#include "support/fake_backend.h"

namespace {

struct TimedWait : ::testing::Test {
  testing_support::FakeBackend backend;
  gui::Form form{backend, 100, 100};
};

TEST_F(TimedWait, ZeroAndNegativeReturnAtOnceWithoutProcessingEvents) {
  for (int16_t ms : {0, -1, -32768}) {
    backend.polls = 0;
    media::TWAIT(form, ms);
    EXPECT_EQ(backend.polls, 0) << ms;
    EXPECT_EQ(backend.now, 0u);
  }
}

TEST_F(TimedWait, WaitsAtLeastTheTimeAndProcessesEventsMeanwhile) {
  int clicks = 0;
  form.addPictureBox(nullptr, {0, 0, 50, 50}, false).onClick = [&] { ++clicks; };
  backend.now = 5000;
  backend.click(20, 20);  // handled during the wait, which goes on
  media::TWAIT(form, 100);
  EXPECT_EQ(backend.now, 5100u);
  EXPECT_EQ(clicks, 1);
}

TEST_F(TimedWait, AWaitAcrossTheCounterWrapIsAsLongAsAnyOther) {
  backend.now = 0xFFFFFFF0u;
  media::TWAIT(form, 100);
  EXPECT_EQ(backend.now, 0x54u);  // 0xFFFFFFF0 + 100, wrapped
  backend.now = 0x7FFFFFF0u;      // across the sign change
  media::TWAIT(form, 32767);
  EXPECT_EQ(backend.now, 0x7FFFFFF0u + 32767u);
}

}  // namespace
