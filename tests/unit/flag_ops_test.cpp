#include "engine/flag_ops.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/script_error.h"

namespace {

using engine::Flags;
using engine::Text;

Flags flagsWith(int16_t index, int16_t value) {
  Flags flags{};
  flags[static_cast<size_t>(index)] = value;
  return flags;
}

/* Runs INC `times` times on flag 4 and returns the values it passed through. */
std::vector<int16_t> incSequence(int16_t start, int16_t limit, const Text& mode, int times) {
  Flags flags = flagsWith(4, start);
  std::vector<int16_t> seen;
  for (int i = 0; i < times; ++i) {
    engine::incFlag(flags, 4, limit, [&] { return mode; });
    seen.push_back(flags[4]);
  }
  return seen;
}

Text errorWord(const std::function<void()>& action) {
  try {
    action();
  } catch (const engine::ScriptError& e) {
    return e.word;
  }
  return U"(no error)";
}

struct IncCase {
  const char* name;
  int16_t start;
  int16_t limit;
  Text mode;
  std::vector<int16_t> expected;
};

class IncFlagTest : public ::testing::TestWithParam<IncCase> {};

TEST_P(IncFlagTest, CountsUpThenWrapsOrStays) {
  const IncCase& c = GetParam();
  EXPECT_EQ(incSequence(c.start, c.limit, c.mode, static_cast<int>(c.expected.size())), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, IncFlagTest,
    ::testing::Values(IncCase{"LoopFromZero", 0, 3, U"L", {1, 2, 3, 1, 2, 3, 1}},
                      IncCase{"StopFromZero", 0, 3, U"S", {1, 2, 3, 3, 3}},
                      IncCase{"OtherModeStops", 0, 3, U"X", {1, 2, 3, 3}},
                      IncCase{"LowerCaseIsNotLoop", 2, 3, U"l", {3, 3, 3}},
                      IncCase{"EmptyModeStops", 2, 3, U"", {3, 3}},
                      IncCase{"BlankAfterLIsNotLoop", 3, 3, U"L ", {3, 3}},
                      IncCase{"AboveLimitKeepsRising", 7, 3, U"L", {8, 9, 10}},
                      IncCase{"LimitZeroLoop", 0, 0, U"L", {1, 2, 3}},
                      IncCase{"NegativeCountsUpToTheLimit", -2, 1, U"L", {-1, 0, 1, 1, 1}},
                      IncCase{"LimitAtMaximum", 32766, 32767, U"S", {32767, 32767}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlagOpsTest, IncReadsModeOnlyAtTheLimit) {
  Flags flags{};
  int reads = 0;
  auto readMode = [&] {
    ++reads;
    return Text(U"L");
  };
  engine::incFlag(flags, 30, 2, readMode);
  engine::incFlag(flags, 30, 2, readMode);
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(flags[30], 2);
  engine::incFlag(flags, 30, 2, readMode);
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(flags[30], 1);
}

TEST(FlagOpsTest, IncPastMaximumOverflows) {
  Flags flags = flagsWith(6, 32767);
  EXPECT_EQ(errorWord([&] { engine::incFlag(flags, 6, 3, [] { return Text(U"L"); }); }),
            engine::kOverflow);
  EXPECT_EQ(flags[6], 32767);
}

struct DecCase {
  int16_t start;
  int16_t expected;
};

class DecFlagTest : public ::testing::TestWithParam<DecCase> {};

TEST_P(DecFlagTest, CountsDownNotBelowZero) {
  Flags flags = flagsWith(0, GetParam().start);
  engine::decFlag(flags, 0);
  EXPECT_EQ(flags[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, DecFlagTest,
                         ::testing::Values(DecCase{5, 4}, DecCase{1, 0}, DecCase{0, 0},
                                           DecCase{-5, -5}, DecCase{32767, 32766},
                                           DecCase{-32768, -32768}));

Flags countingFlags() {
  Flags flags{};
  for (size_t k = 0; k < flags.size(); ++k) flags[k] = static_cast<int16_t>(k + 100);
  return flags;
}

struct ClearCase {
  int16_t first;
  int16_t last;
};

class ClearFlagsTest : public ::testing::TestWithParam<ClearCase> {};

TEST_P(ClearFlagsTest, ClearsExactlyTheRange) {
  const auto [first, last] = GetParam();
  Flags flags = countingFlags();
  engine::clearFlags(flags, first, last);
  for (int16_t k = 0; k < engine::kFlagCount; ++k) {
    const bool inRange = k >= first && k <= last;
    EXPECT_EQ(flags[static_cast<size_t>(k)], inRange ? 0 : k + 100) << "flag " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, ClearFlagsTest,
                         ::testing::Values(ClearCase{0, 30}, ClearCase{5, 5}, ClearCase{3, 7},
                                           ClearCase{30, 30}, ClearCase{5, 3}, ClearCase{40, -10},
                                           ClearCase{31, 30}));

struct BadRangeCase {
  int16_t first;
  int16_t last;
};

class ClearFlagsRangeTest : public ::testing::TestWithParam<BadRangeCase> {};

TEST_P(ClearFlagsRangeTest, OutOfRangeClearsNothing) {
  Flags flags = countingFlags();
  EXPECT_EQ(errorWord([&] { engine::clearFlags(flags, GetParam().first, GetParam().last); }),
            engine::kOutOfRange);
  EXPECT_EQ(flags, countingFlags());
}

INSTANTIATE_TEST_SUITE_P(Ranges, ClearFlagsRangeTest,
                         ::testing::Values(BadRangeCase{0, 31}, BadRangeCase{-1, 5},
                                           BadRangeCase{25, 40}, BadRangeCase{-32768, 32767}));

TEST(FlagOpsTest, FlagAtReadsAndWrites) {
  Flags flags{};
  engine::flagAt(flags, 30) = -7;
  engine::flagAt(flags, 0) = 9;
  EXPECT_EQ(flags[30], -7);
  EXPECT_EQ(flags[0], 9);
  const Flags& view = flags;
  EXPECT_EQ(engine::flagAt(view, 30), -7);
}

TEST(FlagOpsTest, EveryCommandRejectsAnIndexOutsideTheFlags) {
  for (int16_t index : {int16_t{-1}, int16_t{31}, int16_t{32767}, int16_t{-32768}}) {
    Flags flags{};
    const Flags& view = flags;
    bool modeRead = false;
    EXPECT_EQ(errorWord([&] { engine::flagAt(flags, index); }), engine::kOutOfRange);
    EXPECT_EQ(errorWord([&] { engine::flagAt(view, index); }), engine::kOutOfRange);
    EXPECT_EQ(errorWord([&] {
                engine::incFlag(flags, index, 0, [&] {
                  modeRead = true;
                  return Text(U"L");
                });
              }),
              engine::kOutOfRange);
    EXPECT_EQ(errorWord([&] { engine::decFlag(flags, index); }), engine::kOutOfRange);
    EXPECT_FALSE(modeRead);
    EXPECT_EQ(flags, Flags{});
  }
}

}  // namespace
