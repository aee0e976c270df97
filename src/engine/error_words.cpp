#include "engine/error_words.h"

#include <string>

namespace engine {

Text signedNumber(int value) {
  const std::string digits = std::to_string(value);
  Text text = value < 0 ? U"" : U" ";
  for (char c : digits) text += static_cast<char32_t>(c);
  return text;
}

Text caseMissing(int pick) { return U"CASE" + signedNumber(pick) + U"無し"; }

Text loadFailure(TextView fileName) { return kCannotLoad + U"\r\n" + Text(fileName); }

}  // namespace engine
