#pragma once
// The condition evaluator of IF and EVA.
#include <cstdint>
#include <optional>

#include "engine/flags.h"
#include "engine/text.h"

namespace engine {

/* Evaluates a condition such as "F01=01&F02}10" against the flags in one
   left-to-right pass: -1 when it holds, 0 when it does not (an empty condition
   included). Comparisons fold strictly from left to right, with no precedence.
   Unreadable text is "比較式"; a flag number above 30 is "範囲外". */
int16_t TCHK(TextView condition, const Flags& flags);

/* What the evaluator would stop with on this condition, whatever the flags hold: the
   error word and the index of the character it stopped at (for a missing operator,
   the second operand's). Nothing when the condition can be evaluated. */
struct ConditionFault {
  Text word;
  size_t position = 0;
};
std::optional<ConditionFault> checkCondition(TextView condition);

}  // namespace engine
