#pragma once
// Messages of any length through a pipe: each goes with its length first, and the reader
// puts them together again from the pieces reads return.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace author {

// The message as it goes through the pipe.
std::string framed(std::string_view message);

class MessageReader {
 public:
  // Takes the bytes as they come, in any pieces; calls `whole` with each message completed.
  // False (and nothing more is read) when a message says it is longer than `longest`.
  bool feed(std::string_view bytes, const std::function<void(std::string_view)>& whole);
  // Whether a message was begun and not finished.
  bool midway() const { return !pending_.empty(); }

  static constexpr uint32_t longest = 256u << 20;

 private:
  std::string pending_;
  bool broken_ = false;
};

}  // namespace author
