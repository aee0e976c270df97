#include "engine/script_store.h"

#include "platform/text_codec.h"

namespace engine {

const Text& ScriptStore::line(int k) const {
  static const Text empty;
  return k >= 1 && k <= kMaxLines ? slots_[k] : empty;
}

bool ScriptStore::loadBytes(std::string_view bytes, int& lastLine) {
  slots_.fill(Text());
  count_ = 0;
  lastLine = 0;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t cr = bytes.find('\r', pos);
    size_t end = cr == std::string_view::npos ? bytes.size() : cr;
    ++lastLine;
    if (lastLine > kMaxLines) return false;
    slots_[lastLine] = platform::decodeCp932(bytes.substr(pos, end - pos));
    count_ = lastLine;
    pos = end;
    if (pos < bytes.size()) {
      pos += 1;  // the CR
      if (pos < bytes.size() && bytes[pos] == '\n') pos += 1;
    }
  }
  return true;
}

}  // namespace engine
