#include "author/message_frames.h"

#include <cstring>

namespace author {

std::string framed(std::string_view message) {
  const auto size = static_cast<uint32_t>(message.size());
  std::string out(sizeof size, '\0');
  std::memcpy(out.data(), &size, sizeof size);
  out += message;
  return out;
}

bool MessageReader::feed(std::string_view bytes,
                         const std::function<void(std::string_view)>& whole) {
  if (broken_) return false;
  pending_.append(bytes);
  size_t at = 0;
  while (pending_.size() - at >= sizeof(uint32_t)) {
    uint32_t size = 0;
    std::memcpy(&size, pending_.data() + at, sizeof size);
    if (size > longest) {
      broken_ = true;
      return false;
    }
    if (pending_.size() - at - sizeof size < size) break;
    whole(std::string_view(pending_).substr(at + sizeof size, size));
    at += sizeof size + size;
  }
  pending_.erase(0, at);
  return true;
}

}  // namespace author
