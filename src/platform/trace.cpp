#include "platform/trace.h"

#include <cstdio>
#include <iostream>

namespace platform {

std::string Json::quote(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

void Json::key(std::string_view k) {
  if (!body_.empty()) body_ += ',';
  body_ += quote(k);
  body_ += ':';
}

Json& Json::add(std::string_view k, std::string_view s) {
  key(k);
  body_ += quote(s);
  return *this;
}

Json& Json::add(std::string_view k, long long n) {
  key(k);
  body_ += std::to_string(n);
  return *this;
}

Json& Json::add(std::string_view k, bool v) {
  key(k);
  body_ += v ? "true" : "false";
  return *this;
}

Json& Json::addNull(std::string_view k) {
  key(k);
  body_ += "null";
  return *this;
}

Json& Json::addRaw(std::string_view k, std::string_view json) {
  key(k);
  body_ += json;
  return *this;
}

bool Trace::open(const std::string& target) {
  if (target == "-") {
    out_ = &std::cout;
    return true;
  }
  file_ = std::make_unique<std::ofstream>(target, std::ios::binary | std::ios::trunc);
  if (!*file_) {
    file_.reset();
    return false;
  }
  out_ = file_.get();
  return true;
}

void Trace::write(const Json& event) {
  if (!out_) return;
  *out_ << event.str() << '\n';
  out_->flush();
}

}  // namespace platform
