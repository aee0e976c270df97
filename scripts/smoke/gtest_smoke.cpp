// Links GoogleTest as the ports' tests will.
#include <gtest/gtest.h>

#include <string>

TEST(PortSmoke, GoogleTestRuns) { EXPECT_EQ(std::string("torami").size(), 6u); }
