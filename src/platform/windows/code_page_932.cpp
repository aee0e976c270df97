// Code page 932 through the Windows API, asked for by number, so the script reads the same
// whatever code page the system runs with. Decoding goes one character at a time so that
// a byte that does not decode becomes one U+FFFD and decoding goes on after it, as on
// Linux; bytes the system maps to private-use stand-ins (80, A0, FD..FF) count as
// undecodable, as they do there.
#include <windows.h>

#include "platform/text_codec.h"
#include "platform/windows/wide_text.h"

namespace platform {
namespace {

constexpr UINT kCodePage = 932;

bool singleByteCharacter(unsigned char b) { return b < 0x80 || (b >= 0xA1 && b <= 0xDF); }

// The character of one or two bytes, or nullopt when they do not decode.
std::optional<char32_t> decodeOne(const char* bytes, int count) {
  wchar_t wide[2];
  const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, count, wide, 2);
  if (n != 1) return std::nullopt;
  return static_cast<char32_t>(wide[0]);
}

}  // namespace

std::u32string decodeCp932(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (singleByteCharacter(b)) {
      out += b < 0x80 ? char32_t(b) : decodeOne(&bytes[i], 1).value_or(U'\uFFFD');
      ++i;
      continue;
    }
    std::optional<char32_t> c;
    if (i + 1 < bytes.size() && IsDBCSLeadByteEx(kCodePage, b)) c = decodeOne(&bytes[i], 2);
    out += c.value_or(U'\uFFFD');
    i += c ? 2 : 1;
  }
  return out;
}

std::optional<std::string> encodeCp932(std::u32string_view text) {
  if (text.empty()) return std::string();
  const std::wstring wide = windows::widen(toUtf8(text));
  const int length = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                       nullptr, 0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, out.data(), size,
                      nullptr, &usedDefault);
  // The private-use stand-ins encode, but their bytes do not decode.
  if (usedDefault || decodeCp932(out) != text) return std::nullopt;
  return out;
}

}  // namespace platform
