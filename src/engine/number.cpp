#include "engine/number.h"

namespace engine {
namespace {

bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

TextView trimBlanks(TextView text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<int16_t> parseNumber(TextView text) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == U'+' || text.front() == U'-')) {
    negative = text.front() == U'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // The magnitude is capped just past the 16-bit range so long digit runs cannot overflow.
  int32_t magnitude = 0;
  for (char32_t c : text) {
    if (!isDigit(c)) return std::nullopt;
    magnitude = magnitude * 10 + static_cast<int32_t>(c - U'0');
    if (magnitude > 32768) return std::nullopt;
  }
  const int32_t value = negative ? -magnitude : magnitude;
  if (value > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(value);
}

}  // namespace engine
