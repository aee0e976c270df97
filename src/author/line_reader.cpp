#include "author/line_reader.h"

#include <algorithm>

#include "engine/fields.h"
#include "engine/number.h"
#include "engine/script_error.h"
#include "platform/text_codec.h"

namespace author {

using engine::Text;
using engine::TextView;

LineReader::LineReader(const engine::ScriptStore& script)
    : script_(script), lines_(static_cast<size_t>(script.lineCount()) + 1) {
  for (int k = 1; k <= count(); ++k) {
    Line& l = lines_[k];
    const Text& t = script.line(k);
    l.blank = t.find_first_not_of(U" \t") == Text::npos;
    l.keyword = engine::CUTA(t, 1);
    l.command = engine::findCommand(l.keyword);
    l.fieldCount = 1 + static_cast<int>(std::count(t.begin(), t.end(), U','));
  }
}

bool LineReader::blank(int k) const { return !valid(k) || lines_[k].blank; }

const Text& LineReader::keyword(int k) const {
  static const Text none;
  return valid(k) ? lines_[k].keyword : none;
}

const engine::Command* LineReader::command(int k) const {
  return valid(k) ? lines_[k].command : nullptr;
}

int LineReader::fieldCount(int k) const { return valid(k) ? lines_[k].fieldCount : 1; }

Text LineReader::field(int k, int n) const {
  if (n > fieldCount(k)) return Text();
  return engine::CUTA(text(k), static_cast<int16_t>(n));
}

Number LineReader::number(int k, int n) const {
  Number out;
  if (n > fieldCount(k)) {
    out.word = engine::kMissingField;
    return out;
  }
  const Text f = field(k, n);
  try {
    const engine::Flags none{};
    out.value = engine::CUTV(text(k), static_cast<int16_t>(n), none);
    out.ok = true;
    if (!f.empty() && f[0] == U'F') {
      out.flag = true;
      out.value = *engine::parseNumber(TextView(f).substr(1, 2));
    }
  } catch (const engine::ScriptError& e) {
    out.word = e.word;
  }
  return out;
}

Number LineReader::parseFlagIndex(TextView digits) {
  Number out;
  const auto index = engine::parseNumber(digits);
  if (index && *index >= 0 && *index < engine::kFlagCount) {
    out.ok = out.flag = true;
    out.value = *index;
  }
  return out;
}

int LineReader::fieldColumn(int k, int n) const {
  const Text& t = text(k);
  size_t pos = 0;
  for (int i = 1; i < n; ++i) {
    const size_t comma = t.find(U',', pos);
    if (comma == Text::npos) return static_cast<int>(t.size()) + 1;
    pos = comma + 1;
  }
  return static_cast<int>(pos) + 1;
}

int LineReader::blockEnd(int k) const {
  for (int t = k + 1; t <= count(); ++t)
    if (keyword(t) == U"ENDCM") return t;
  return 0;
}

std::string shown(TextView text) {
  Text t(text);
  for (char32_t& c : t)
    if (c == U'\n') c = U'\u240A';
  return platform::toUtf8(t);
}

int displayWidth(TextView text) {
  int width = 0;
  for (char32_t c : text) {
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    width += wide ? 2 : 1;
  }
  return width;
}

}  // namespace author
