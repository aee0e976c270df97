#pragma once
// A small JSON reader for checking trace lines in tests.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace testing_support {

struct JsonValue;
using JsonArray = std::vector<JsonValue>;
using JsonObject = std::map<std::string, JsonValue>;

struct JsonValue {
  std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<JsonArray>,
               std::shared_ptr<JsonObject>>
      v;
  bool isNull() const { return std::holds_alternative<std::nullptr_t>(v); }
  bool boolean() const { return std::get<bool>(v); }
  double number() const { return std::get<double>(v); }
  long integer() const { return static_cast<long>(std::get<double>(v)); }
  const std::string& str() const { return std::get<std::string>(v); }
  const JsonArray& array() const { return *std::get<std::shared_ptr<JsonArray>>(v); }
  const JsonObject& object() const { return *std::get<std::shared_ptr<JsonObject>>(v); }
  bool has(const std::string& key) const { return object().count(key) > 0; }
  const JsonValue& operator[](const std::string& key) const {
    auto it = object().find(key);
    if (it == object().end()) throw std::out_of_range("no key " + key);
    return it->second;
  }
  const JsonValue& operator[](size_t i) const { return array().at(i); }
  size_t size() const {
    return std::holds_alternative<std::shared_ptr<JsonArray>>(v) ? array().size() : object().size();
  }
};

JsonValue parseJson(const std::string& text);
// Same value: same kind, same content, objects whatever their key order.
bool operator==(const JsonValue& a, const JsonValue& b);

}  // namespace testing_support
