#pragma once
// JSON values for the trace: objects keep their keys in insertion order.
#include <nlohmann/json.hpp>
#include <string>

namespace record {

using Json = nlohmann::ordered_json;

// One line of JSON text without spaces; text that is not valid UTF-8 shows U+FFFD.
inline std::string jsonLine(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace record
