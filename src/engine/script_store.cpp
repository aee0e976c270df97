#include "engine/script_store.h"

#include "engine/error_words.h"
#include "engine/flag_ops.h"
#include "engine/number.h"
#include "engine/script_error.h"
#include "platform/text_codec.h"

namespace engine {

const Text& ScriptStore::line(int k) const {
  static const Text empty;
  return k >= 1 && k <= kMaxLines ? slots_[k] : empty;
}

ScriptStore::ScriptStore() = default;

/* An empty line has one empty field, which is no number; its spans are not kept (most of
   the 1201 slots are empty, and a store is made for every run). */
const ScriptStore::Span& ScriptStore::span(int k, int16_t n) const {
  static const std::vector<Span> emptyLine{{0, 0, Span::Reads::NotANumber, 0}};
  const std::vector<Span>& kept = fields_[k >= 1 && k <= kMaxLines ? k : 0];
  const std::vector<Span>& spans = kept.empty() ? emptyLine : kept;
  if (static_cast<size_t>(n) > spans.size()) fail(kMissingField);
  return spans[n - 1];
}

TextView ScriptStore::field(int k, int16_t n) const {
  if (n <= 0) return {};
  const Span& s = span(k, n);
  return TextView(line(k)).substr(s.start, s.length);
}

int16_t ScriptStore::number(int k, int16_t n, const Flags& flags) const {
  if (n <= 0) fail(kNotANumber);  // an empty field
  const Span& s = span(k, n);
  switch (s.reads) {
    case Span::Reads::Number:
      return s.value;
    case Span::Reads::Flag:
      return flagAt(flags, s.value);
    case Span::Reads::NotANumber:
      break;
  }
  fail(kNotANumber);
}

/* The fields of a line, found at its ASCII commas, each read as a number once: a number,
   a flag reference "F" + two characters, or neither. */
void ScriptStore::cut(int k) {
  const Text& line = slots_[k];
  std::vector<Span>& spans = fields_[k];
  spans.clear();
  if (line.empty()) return;
  auto add = [&](size_t start, size_t end) {
    const TextView text = TextView(line).substr(start, end - start);
    Span s{static_cast<uint32_t>(start), static_cast<uint32_t>(end - start),
           Span::Reads::NotANumber, 0};
    const bool flag = !text.empty() && text[0] == U'F';
    if (auto v = parseNumber(flag ? text.substr(1, 2) : text))
      s.reads = flag ? Span::Reads::Flag : Span::Reads::Number, s.value = *v;
    spans.push_back(s);
  };
  size_t start = 0;
  for (size_t comma; (comma = line.find(U',', start)) != Text::npos; start = comma + 1)
    add(start, comma);
  add(start, line.size());
}

bool ScriptStore::loadBytes(std::string_view bytes, int& lastLine) {
  slots_.fill(Text());
  for (std::vector<Span>& spans : fields_) spans.clear();
  count_ = 0;
  lastLine = 0;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t cr = bytes.find('\r', pos);
    size_t end = cr == std::string_view::npos ? bytes.size() : cr;
    ++lastLine;
    if (lastLine > kMaxLines) return false;
    slots_[lastLine] = platform::decodeCp932(bytes.substr(pos, end - pos));
    cut(lastLine);
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
