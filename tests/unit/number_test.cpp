#include "engine/number.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using engine::parseNumber;
using engine::Text;

struct NumberCase {
  Text text;
  std::optional<int16_t> expected;
};

class NumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTest, Converts) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(parseNumber(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Accepted, NumberTest,
                         ::testing::Values(NumberCase{U"15", 15}, NumberCase{U"0", 0},
                                           NumberCase{U"007", 7}, NumberCase{U" 12 ", 12},
                                           NumberCase{U"\t12\t", 12}, NumberCase{U"  -3", -3},
                                           NumberCase{U"+42", 42}, NumberCase{U"32767", 32767},
                                           NumberCase{U"-32768", -32768}, NumberCase{U"-0", 0},
                                           NumberCase{U"000000000000000000012", 12}));

INSTANTIATE_TEST_SUITE_P(
    Rejected, NumberTest,
    ::testing::Values(NumberCase{U"", std::nullopt}, NumberCase{U"   ", std::nullopt},
                      NumberCase{U"-", std::nullopt}, NumberCase{U"+", std::nullopt},
                      NumberCase{U"ABC", std::nullopt}, NumberCase{U"12A", std::nullopt},
                      NumberCase{U"1 2", std::nullopt}, NumberCase{U"- 5", std::nullopt},
                      NumberCase{U"--5", std::nullopt}, NumberCase{U"1.5", std::nullopt},
                      NumberCase{U"1e3", std::nullopt}, NumberCase{U"0x10", std::nullopt},
                      NumberCase{U"32768", std::nullopt}, NumberCase{U"-32769", std::nullopt},
                      NumberCase{U"99999999999999999999", std::nullopt},
                      NumberCase{U"１２", std::nullopt}, NumberCase{U"\u300012", std::nullopt},
                      NumberCase{U"F5", std::nullopt}));

}  // namespace
