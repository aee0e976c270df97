// TWAIT against a clock the test controls.
#include <gtest/gtest.h>

#include "support/fake_backend.h"
#include "ui/acs.h"

namespace {

struct TimedWait : ::testing::Test {
  testing_support::FakeBackend backend;
  ui::Acs acs{backend, ui::Options{}};
};

TEST_F(TimedWait, ZeroAndNegativeReturnAtOnceWithoutProcessingEvents) {
  for (int16_t ms : {0, -1, -32768}) {
    backend.polls = 0;
    acs.TWAIT(ms);
    EXPECT_EQ(backend.polls, 0) << ms;
    EXPECT_EQ(backend.now, 0u);
  }
}

TEST_F(TimedWait, WaitsAtLeastTheTimeAndProcessesEventsMeanwhile) {
  backend.now = 5000;
  backend.click(20, 20);  // picture area: sets the click flag, does not end the wait
  acs.TWAIT(100);
  EXPECT_EQ(backend.now, 5100u);
  EXPECT_GT(backend.polls, 0);
  EXPECT_EQ(acs.MsgClick, 2);
}

TEST_F(TimedWait, AWaitAcrossTheCounterWrapIsAsLongAsAnyOther) {
  backend.now = 0xFFFFFFF0u;
  acs.TWAIT(100);
  EXPECT_EQ(backend.now, 0x54u);  // 0xFFFFFFF0 + 100, wrapped
  backend.now = 0x7FFFFFF0u;      // across the sign change
  acs.TWAIT(32767);
  EXPECT_EQ(backend.now, 0x7FFFFFF0u + 32767u);
}

}  // namespace
