#include "json.h"

#include <nlohmann/json.hpp>

namespace testing_support {
namespace {

JsonValue convert(const nlohmann::json& j) {
  JsonValue v;
  if (j.is_null()) {
    v.v = nullptr;
  } else if (j.is_boolean()) {
    v.v = j.get<bool>();
  } else if (j.is_number()) {
    v.v = j.get<double>();
  } else if (j.is_string()) {
    v.v = j.get<std::string>();
  } else if (j.is_array()) {
    auto array = std::make_shared<JsonArray>();
    for (const auto& item : j) array->push_back(convert(item));
    v.v = array;
  } else {
    auto object = std::make_shared<JsonObject>();
    for (const auto& [key, item] : j.items()) (*object)[key] = convert(item);
    v.v = object;
  }
  return v;
}

}  // namespace

JsonValue parseJson(const std::string& text) {
  try {
    return convert(nlohmann::json::parse(text));
  } catch (const nlohmann::json::exception& e) {
    throw std::runtime_error(std::string("not JSON: ") + e.what());
  }
}

bool operator==(const JsonValue& a, const JsonValue& b) {
  if (a.v.index() != b.v.index()) return false;
  if (const auto* x = std::get_if<std::shared_ptr<JsonArray>>(&a.v))
    return **x == *std::get<std::shared_ptr<JsonArray>>(b.v);
  if (const auto* x = std::get_if<std::shared_ptr<JsonObject>>(&a.v))
    return **x == *std::get<std::shared_ptr<JsonObject>>(b.v);
  return a.v == b.v;
}

}  // namespace testing_support
