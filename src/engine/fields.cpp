#include "engine/fields.h"

#include "engine/flag_ops.h"
#include "engine/number.h"
#include "engine/script_error.h"

namespace engine {

Text CUTA(TextView line, int16_t n) {
  Text rest = Text(line) + U',';
  Text field;
  for (int i = 0; i < n; ++i) {
    size_t comma = rest.find(U',');
    if (comma == Text::npos) fail(kMissingField);
    field = rest.substr(0, comma);
    rest.erase(0, comma + 1);
  }
  return field;
}

int16_t CUTV(TextView line, int16_t n, const Flags& flags) {
  return fieldNumber(CUTA(line, n), flags);
}

int16_t fieldNumber(TextView field, const Flags& flags) {
  if (!field.empty() && field[0] == U'F') {
    auto index = parseNumber(field.substr(1, 2));
    if (!index) fail(kNotANumber);
    return flagAt(flags, *index);
  }
  auto value = parseNumber(field);
  if (!value) fail(kNotANumber);
  return *value;
}

}  // namespace engine
