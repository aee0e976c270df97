#include "engine/condition.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/script_error.h"

namespace {

using engine::Flags;
using engine::Text;

constexpr int16_t T = -1;
constexpr int16_t F = 0;

struct ConditionCase {
  Text condition;
  std::vector<std::pair<size_t, int16_t>> flags;  // all other flags are 0
  int16_t expected;
};

Flags makeFlags(const std::vector<std::pair<size_t, int16_t>>& values) {
  Flags flags{};
  for (const auto& [index, value] : values) flags.at(index) = value;
  return flags;
}

std::string utf8(const Text& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += "<U+" + std::to_string(static_cast<uint32_t>(c)) + ">";
    }
  }
  return out;
}

class ConditionTest : public ::testing::TestWithParam<ConditionCase> {};

TEST_P(ConditionTest, Evaluates) {
  const ConditionCase& c = GetParam();
  EXPECT_EQ(engine::TCHK(c.condition, makeFlags(c.flags)), c.expected)
      << "condition " << utf8(c.condition);
}

INSTANTIATE_TEST_SUITE_P(Examples, ConditionTest,
                         ::testing::Values(ConditionCase{U"F01=01", {{1, 1}}, T},
                                           ConditionCase{U"F01=01", {{1, 2}}, F},
                                           ConditionCase{U"F03}10", {{3, 10}}, T},
                                           ConditionCase{U"F03}10", {{3, 11}}, T},
                                           ConditionCase{U"F03}10", {{3, 9}}, F},
                                           ConditionCase{U"F02^F04", {{2, 1}, {4, 2}}, T},
                                           ConditionCase{U"F02^F04", {{2, 3}, {4, 3}}, F},
                                           ConditionCase{U"F01=01&F02=00", {{1, 1}}, T},
                                           ConditionCase{U"F01=01&F02=00", {{1, 1}, {2, 1}}, F},
                                           ConditionCase{U"F01=01&F02=00", {}, F},
                                           ConditionCase{U"F05<03#F06>07", {{5, 2}}, T},
                                           ConditionCase{U"F05<03#F06>07", {{5, 3}, {6, 8}}, T},
                                           ConditionCase{U"F05<03#F06>07", {{5, 3}, {6, 7}}, F}));

INSTANTIATE_TEST_SUITE_P(
    Operators, ConditionTest,
    ::testing::Values(ConditionCase{U"F01=05", {{1, 5}}, T}, ConditionCase{U"F01=05", {{1, 4}}, F},
                      ConditionCase{U"F01>05", {{1, 6}}, T}, ConditionCase{U"F01>05", {{1, 5}}, F},
                      ConditionCase{U"F01<05", {{1, 4}}, T}, ConditionCase{U"F01<05", {{1, 5}}, F},
                      ConditionCase{U"F01^05", {{1, 4}}, T}, ConditionCase{U"F01^05", {{1, 6}}, T},
                      ConditionCase{U"F01^05", {{1, 5}}, F}, ConditionCase{U"F01}05", {{1, 5}}, T},
                      ConditionCase{U"F01}05", {{1, 4}}, F}, ConditionCase{U"F01{05", {{1, 5}}, T},
                      ConditionCase{U"F01{05", {{1, 6}}, F}, ConditionCase{U"05<07", {}, T},
                      ConditionCase{U"07<05", {}, F}, ConditionCase{U"F00=00", {}, T},
                      ConditionCase{U"F30=99", {{30, 99}}, T}));

INSTANTIATE_TEST_SUITE_P(
    OperatorPlacement, ConditionTest,
    ::testing::Values(ConditionCase{U"=F0105", {{1, 5}}, T},  // operator before the first operand
                      ConditionCase{U">F0105", {{1, 6}}, T}, ConditionCase{U">F0105", {{1, 5}}, F},
                      ConditionCase{U"F01=>02", {{1, 3}}, T},  // the later ">" replaces "="
                      ConditionCase{U"F01=>02", {{1, 2}}, F},
                      ConditionCase{U"F01>=02", {{1, 2}}, T},
                      ConditionCase{U"F01>=02", {{1, 3}}, F}));

INSTANTIATE_TEST_SUITE_P(
    Folding, ConditionTest,
    ::testing::Values(
        // A & B # C is (A and B) or C
        ConditionCase{U"F01=01&F02=01#F03=01", {{3, 1}}, T},
        ConditionCase{U"F01=01&F02=01#F03=01", {{1, 1}, {2, 1}}, T},
        ConditionCase{U"F01=01&F02=01#F03=01", {{1, 1}}, F},
        // A # B & C is (A or B) and C
        ConditionCase{U"F01=01#F02=01&F03=01", {{1, 1}}, F},
        ConditionCase{U"F01=01#F02=01&F03=01", {{2, 1}, {3, 1}}, T},
        // a connective stays in force for the comparisons after it
        ConditionCase{U"F01=01&F02=01F03=01", {{2, 1}, {3, 1}}, F},
        ConditionCase{U"F01=01#F02=01F03=01", {{1, 1}}, T},
        // without a connective each comparison replaces the result
        ConditionCase{U"F01=01F02=01", {{1, 1}}, F}, ConditionCase{U"F01=01F02=01", {{2, 1}}, T},
        // a connective before the first comparison applies to it
        ConditionCase{U"&F01=F01", {}, F}, ConditionCase{U"&F01=F01", {{1, 5}}, F},
        ConditionCase{U"#F01=F01", {{1, 5}}, T}, ConditionCase{U"#F01=02", {{1, 1}}, F},
        // a connective at the end changes nothing
        ConditionCase{U"F01=01&", {{1, 1}}, T}));

INSTANTIATE_TEST_SUITE_P(
    Operands, ConditionTest,
    ::testing::Values(ConditionCase{U"", {}, F},           // empty: false
                      ConditionCase{U"F01", {{1, 1}}, F},  // one operand: false
                      ConditionCase{U"05", {}, F}, ConditionCase{U"F01=", {}, F},
                      ConditionCase{U"F01=01F02", {{1, 1}}, T},  // leftover operand ignored
                      ConditionCase{U"F01=100", {{1, 10}}, T},   // compares with 10
                      ConditionCase{U"F01=100", {{1, 100}}, F},
                      ConditionCase{U"F01<100", {{1, 50}}, F},
                      ConditionCase{U"F01=1", {{1, 1}}, T},  // one digit at the end
                      ConditionCase{U"F01=1", {{1, 2}}, F}, ConditionCase{U"02=F2", {{2, 2}}, T},
                      ConditionCase{U"02=F2", {{2, 3}}, F}));

INSTANTIATE_TEST_SUITE_P(SignedValues, ConditionTest,
                         ::testing::Values(ConditionCase{U"F01<00", {{1, -1}}, T},
                                           ConditionCase{U"00>F01", {{1, -1}}, T},
                                           ConditionCase{U"F07>F08", {{7, -1}, {8, -2}}, T},
                                           ConditionCase{U"F07}F08", {{7, -32768}, {8, 32767}}, F},
                                           ConditionCase{U"F07{F08", {{7, -32768}, {8, 32767}}, T},
                                           ConditionCase{U"F01^00", {{1, -1}}, T}));

struct ErrorCase {
  Text condition;
  Text word;
};

class ConditionErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ConditionErrorTest, Fails) {
  const ErrorCase& c = GetParam();
  const Flags flags = makeFlags({{1, 1}});
  try {
    const int16_t result = engine::TCHK(c.condition, flags);
    ADD_FAILURE() << "condition " << utf8(c.condition) << " gave " << result;
  } catch (const engine::ScriptError& e) {
    EXPECT_EQ(e.word, c.word) << "condition " << utf8(c.condition);
  }
}

const Text kBad = engine::kBadCondition;

INSTANTIATE_TEST_SUITE_P(
    Alphabet, ConditionErrorTest,
    ::testing::Values(ErrorCase{U"F01 = 01", kBad}, ErrorCase{U" F01=01", kBad},
                      ErrorCase{U"F01=01 ", kBad}, ErrorCase{U"F01=01\t", kBad},
                      ErrorCase{U"f01=01", kBad}, ErrorCase{U"F01!01", kBad},
                      ErrorCase{U"F01=01|F02=00", kBad}, ErrorCase{U"(F01=01)", kBad},
                      ErrorCase{U"F01=01-", kBad}, ErrorCase{U"F01＝01", kBad},
                      ErrorCase{U"F01=01＆F02=00", kBad}, ErrorCase{U"Ｆ01=01", kBad}));

INSTANTIATE_TEST_SUITE_P(MissingOperator, ConditionErrorTest,
                         ::testing::Values(ErrorCase{U"F01F02", kBad}, ErrorCase{U"0101", kBad},
                                           ErrorCase{U"F01=01F02F03", kBad},
                                           ErrorCase{U"F01=01&F02F03", kBad}));

INSTANTIATE_TEST_SUITE_P(NotANumber, ConditionErrorTest,
                         ::testing::Values(ErrorCase{U"F1=01", kBad},   // "1=" after the F
                                           ErrorCase{U"1A", kBad},      // a digit and a letter
                                           ErrorCase{U"F01=0F", kBad},  // a digit and "F"
                                           ErrorCase{U"F-1=01", kBad},  // a sign after the F
                                           ErrorCase{U"F01=-1", kBad},  // a sign before a constant
                                           ErrorCase{U"F 1=01", kBad},  // a blank after the F
                                           ErrorCase{U"FF1=01", kBad},  // "F1" after the F
                                           ErrorCase{U"F01=F", kBad},   // nothing after the F
                                           ErrorCase{U"F01=０１", kBad},  // full-width digits
                                           ErrorCase{U"F01=1０", kBad}));

INSTANTIATE_TEST_SUITE_P(FlagOutOfRange, ConditionErrorTest,
                         ::testing::Values(ErrorCase{U"F31=01", engine::kOutOfRange},
                                           ErrorCase{U"F99=00", engine::kOutOfRange},
                                           ErrorCase{U"01=F31", engine::kOutOfRange},
                                           ErrorCase{U"F31", engine::kOutOfRange},
                                           ErrorCase{U"F01=01#F31=00", engine::kOutOfRange}));

}  // namespace
