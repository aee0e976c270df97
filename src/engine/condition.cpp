#include "engine/condition.h"

#include <array>

#include "engine/flag_ops.h"
#include "engine/number.h"
#include "engine/script_error.h"

namespace engine {
namespace {

// Token table, chosen by the character at the current position:
//   "F"                      flag operand: "F" + flag number (two characters)     3 characters
//   "0".."9"                 constant operand: two characters                      2 characters
//   "=" ">" "<" "^" "}" "{"  operator (a later one replaces an earlier one)        1 character
//   "&"                      and: later comparisons are and-ed into the result     1 character
//   "#"                      or: later comparisons are or-ed into the result       1 character
//   anything else            "比較式"
// An operand at the end of the condition takes the one character that is left.
enum class Token { kFlag, kConstant, kOperator, kAnd, kOr, kInvalid };

constexpr TextView kOperators = U"=><^}{";

Token tokenAt(char32_t c) {
  if (c == U'F') return Token::kFlag;
  if (c >= U'0' && c <= U'9') return Token::kConstant;
  if (kOperators.find(c) != TextView::npos) return Token::kOperator;
  if (c == U'&') return Token::kAnd;
  if (c == U'#') return Token::kOr;
  return Token::kInvalid;
}

// How the next finished comparison is folded into the result.
enum class Connective : int16_t { kReplace = 0, kAnd = 1, kOr = 2 };

constexpr char32_t kNoOperator = 0;
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

// The state of one evaluation.
struct Evaluation {
  std::array<int16_t, 3> Operands{};  // slot 1: first operand, slot 2: second; slot 0 unused
  int operandCount = 0;
  char32_t op = kNoOperator;
  Connective connective = Connective::kReplace;
  int16_t result = kFalse;
};

/* An operand's characters must all be ASCII digits; anything else (a sign, a
   blank, an operator that follows a one-digit flag number) is "比較式". */
int16_t operandNumber(TextView digits) {
  if (digits.empty()) fail(kBadCondition);
  for (char32_t c : digits) {
    if (c < U'0' || c > U'9') fail(kBadCondition);
  }
  const auto value = parseNumber(digits);
  if (!value) fail(kBadCondition);
  return *value;
}

bool compare(char32_t op, int16_t a, int16_t b) {
  switch (op) {
    case U'=':
      return a == b;
    case U'>':
      return a > b;
    case U'<':
      return a < b;
    case U'^':
      return a != b;
    case U'}':
      return a >= b;
    case U'{':
      return a <= b;
  }
  fail(kBadCondition);  // two operands and no operator
}

int16_t fold(Connective connective, int16_t result, int16_t r) {
  switch (connective) {
    case Connective::kAnd:
      return static_cast<int16_t>(result & r);
    case Connective::kOr:
      return static_cast<int16_t>(result | r);
    case Connective::kReplace:
      break;
  }
  return r;
}

void pushOperand(Evaluation& e, int16_t value) { e.Operands[++e.operandCount] = value; }

/* Applies the token at `pos` and returns how many characters it consumed. */
size_t applyToken(Evaluation& e, TextView condition, size_t pos, const Flags& flags) {
  const char32_t c = condition[pos];
  switch (tokenAt(c)) {
    case Token::kFlag:
      pushOperand(e, flagAt(flags, operandNumber(condition.substr(pos + 1, 2))));
      return 3;
    case Token::kConstant:
      pushOperand(e, operandNumber(condition.substr(pos, 2)));
      return 2;
    case Token::kOperator:
      e.op = c;
      return 1;
    case Token::kAnd:
      e.connective = Connective::kAnd;
      return 1;
    case Token::kOr:
      e.connective = Connective::kOr;
      return 1;
    case Token::kInvalid:
      break;
  }
  fail(kBadCondition);
}

void finishComparison(Evaluation& e) {
  const int16_t r = compare(e.op, e.Operands[1], e.Operands[2]) ? kTrue : kFalse;
  e.result = fold(e.connective, e.result, r);
  e.op = kNoOperator;
  e.operandCount = 0;
}

/* Evaluates from the start; when an error stops it, `pos` is the token being read. */
int16_t evaluate(TextView condition, const Flags& flags, size_t& pos) {
  Evaluation e;
  for (pos = 0; pos < condition.size();) {
    const size_t used = applyToken(e, condition, pos, flags);
    if (e.operandCount == 2) finishComparison(e);
    pos += used;
  }
  return e.result;
}

}  // namespace

int16_t TCHK(TextView condition, const Flags& flags) {
  size_t pos = 0;
  return evaluate(condition, flags, pos);
}

std::optional<ConditionFault> checkCondition(TextView condition) {
  size_t pos = 0;
  try {
    evaluate(condition, Flags{}, pos);
  } catch (const ScriptError& e) {
    return ConditionFault{e.word, pos};
  }
  return std::nullopt;
}

}  // namespace engine
