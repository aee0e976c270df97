#pragma once
// A key that tells two moments of a run apart: the parts of the window's state appended
// one after another, each number as one element and each text with its length first, so
// that different states never give the same key.
#include <cstdint>

#include "engine/text.h"

namespace engine {

class StateKey {
 public:
  void add(int64_t v) {
    key_ += static_cast<char32_t>(static_cast<uint64_t>(v) & 0xffffffffu);
    key_ += static_cast<char32_t>(static_cast<uint64_t>(v) >> 32);
  }
  void add(TextView text) {
    add(static_cast<int64_t>(text.size()));
    key_ += text;
  }
  const Text& text() const { return key_; }

 private:
  Text key_;
};

}  // namespace engine
