#include "json.h"

#include <cstdlib>

namespace testing_support {
namespace {

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}
  JsonValue parse() {
    JsonValue v = value();
    ws();
    if (i_ != s_.size()) throw std::runtime_error("trailing text in JSON: " + s_);
    return v;
  }

 private:
  void ws() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t'))
      ++i_;
  }
  char peek() {
    ws();
    if (i_ >= s_.size()) throw std::runtime_error("unexpected end of JSON");
    return s_[i_];
  }
  void expect(char c) {
    if (peek() != c) throw std::runtime_error(std::string("expected ") + c + " in " + s_);
    ++i_;
  }
  JsonValue value() {
    char c = peek();
    if (c == '{') return object();
    if (c == '[') return array();
    if (c == '"') return JsonValue{string()};
    if (s_.compare(i_, 4, "null") == 0) return i_ += 4, JsonValue{nullptr};
    if (s_.compare(i_, 4, "true") == 0) return i_ += 4, JsonValue{true};
    if (s_.compare(i_, 5, "false") == 0) return i_ += 5, JsonValue{false};
    char* end = nullptr;
    double d = std::strtod(s_.c_str() + i_, &end);
    if (end == s_.c_str() + i_) throw std::runtime_error("bad JSON value in " + s_);
    i_ = static_cast<size_t>(end - s_.c_str());
    return JsonValue{d};
  }
  void utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  std::string string() {
    expect('"');
    std::string out;
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      char e = s_.at(i_++);
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u':
          utf8(out, static_cast<unsigned>(std::stoul(s_.substr(i_, 4), nullptr, 16))), i_ += 4;
          break;
        default:
          out += e;
      }
    }
    expect('"');
    return out;
  }
  JsonValue array() {
    expect('[');
    auto a = std::make_shared<JsonArray>();
    if (peek() == ']') return ++i_, JsonValue{a};
    for (;;) {
      a->push_back(value());
      if (peek() == ',') {
        ++i_;
        continue;
      }
      expect(']');
      return JsonValue{a};
    }
  }
  JsonValue object() {
    expect('{');
    auto o = std::make_shared<JsonObject>();
    if (peek() == '}') return ++i_, JsonValue{o};
    for (;;) {
      peek();
      std::string k = string();
      expect(':');
      (*o)[k] = value();
      if (peek() == ',') {
        ++i_;
        continue;
      }
      expect('}');
      return JsonValue{o};
    }
  }
  const std::string& s_;
  size_t i_ = 0;
};

}  // namespace

JsonValue parseJson(const std::string& text) { return Parser(text).parse(); }

}  // namespace testing_support
