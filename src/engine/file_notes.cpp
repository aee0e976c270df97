#include "engine/file_notes.h"

#include "platform/text_codec.h"

namespace engine {
namespace {

/* True when the bytes are well-formed UTF-8 and hold at least one character outside
   ASCII: text of code page 932 almost never is. */
bool looksLikeUtf8(std::string_view bytes) {
  bool wide = false;
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || (n == 2 && b < 0xc2) || i + n > bytes.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xc0) != 0x80) return false;
    wide |= n > 1;
    i += n;
  }
  return wide;
}

// Where a byte offset lies: the line as the player counts lines and the character
// column inside it.
struct Place {
  int line, column;
};

Place placeOf(std::string_view bytes, size_t offset) {
  int line = 1;
  size_t start = 0;
  for (size_t i = 0; i < offset; ++i) {
    if (bytes[i] != '\r') continue;
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    ++line;
    start = i + 1;
  }
  const size_t before = start <= offset ? offset - start : 0;
  return {line, static_cast<int>(platform::decodeCp932(bytes.substr(start, before)).size()) + 1};
}

}  // namespace

std::vector<FileNote> scriptFileNotes(std::string_view bytes) {
  std::vector<FileNote> notes;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
      const Place p = placeOf(bytes, i);
      notes.push_back({p.line, p.column,
                       "the file has Unix line ends (LF): it was probably saved with them; the "
                       "player ends lines only at CR LF or CR and joins these lines into one",
                       true});
      break;
    }
  }
  if (looksLikeUtf8(bytes)) {
    notes.push_back({1, 1,
                     "the file looks like UTF-8: the player reads code page 932 (Shift-JIS), so "
                     "its text comes out garbled; save it as Shift-JIS"});
    return notes;
  }
  // Decoding a byte at a time would split characters: decode each line and look for
  // the replacement character that stands for bytes that do not decode.
  size_t start = 0;
  int line = 1;
  while (start <= bytes.size()) {
    size_t end = bytes.find('\r', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::u32string text = platform::decodeCp932(bytes.substr(start, end - start));
    if (auto bad = text.find(U'\uFFFD'); bad != std::u32string::npos) {
      notes.push_back(
          {line, static_cast<int>(bad) + 1,
           "bytes that are not code page 932 text: the player shows them as \"\uFFFD\""});
      break;
    }
    if (end == bytes.size()) break;
    start = end + 1;
    if (start < bytes.size() && bytes[start] == '\n') ++start;
    ++line;
  }
  return notes;
}

}  // namespace engine
