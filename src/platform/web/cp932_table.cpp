#include "platform/web/cp932_table.h"

#include <algorithm>
#include <cstdint>

namespace platform::cp932 {
namespace {

#include "cp932_table.inc"

constexpr char16_t kNone = 0xFFFF;

char16_t pairOf(unsigned char lead, unsigned char trail) {
  if (lead < 0x81 || lead > 0xFC || trail < 0x40 || trail > 0xFC) return kNone;
  return kDouble[(lead - 0x81) * 0xBD + (trail - 0x40)];
}

}  // namespace

std::u32string decode(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (const char16_t single = kSingle[b]; single != kNone) {
      out += single;
    } else if (const char16_t pair = i + 1 < bytes.size()
                                         ? pairOf(b, static_cast<unsigned char>(bytes[i + 1]))
                                         : kNone;
               pair != kNone) {
      out += pair;
      ++i;
    } else {
      out += U'\uFFFD';
    }
  }
  return out;
}

std::optional<std::string> encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char32_t c : text) {
    if (c > 0xFFFF) return std::nullopt;
    const auto* end = std::end(kEncode);
    const auto* at = std::lower_bound(std::begin(kEncode), end, c,
                                      [](const auto& e, char32_t v) { return e.character < v; });
    if (at == end || at->character != c) return std::nullopt;
    if (at->code > 0xFF) out += static_cast<char>(at->code >> 8);
    out += static_cast<char>(at->code & 0xFF);
  }
  // As the system codec does: a look-alike the table maps one way only (yen sign, wave
  // dash, minus sign ...) to a code that decodes to another character is not encoded.
  if (decode(out) != text) return std::nullopt;
  return out;
}

}  // namespace platform::cp932
