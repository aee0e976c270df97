#pragma once
// The trace: one JSON object per line, UTF-8. Everything observable in a run is written
// here as an event; see the headless documentation for the kinds and keys.
#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Builds one JSON value or object as text, keys in insertion order.
class Json {
 public:
  static std::string quote(std::string_view utf8);

  Json& add(std::string_view key, std::string_view utf8String);
  Json& add(std::string_view key, const char* utf8String) {
    return add(key, std::string_view(utf8String));
  }
  Json& add(std::string_view key, long long number);
  Json& add(std::string_view key, int number) { return add(key, static_cast<long long>(number)); }
  Json& add(std::string_view key, bool value);
  Json& addNull(std::string_view key);
  Json& addRaw(std::string_view key, std::string_view json);
  std::string str() const { return "{" + body_ + "}"; }

 private:
  void key(std::string_view k);
  std::string body_;
};

class Trace {
 public:
  Trace() = default;
  // "-" is standard output; otherwise a file, created or truncated.
  bool open(const std::string& target);
  bool enabled() const { return out_ != nullptr; }
  void write(const Json& event);

 private:
  std::unique_ptr<std::ofstream> file_;
  std::ostream* out_ = nullptr;
};

}  // namespace platform
