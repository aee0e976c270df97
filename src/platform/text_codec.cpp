#include "platform/text_codec.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

/* iconv with "CP932" (not "SHIFT_JIS", which maps 5C, 7E, 81 60 and the NEC rows
   differently) converting to UTF-32 in host order. */
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

const char* utf32Host() {
  return std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
}

}  // namespace

std::u32string decodeCp932(std::string_view bytes) {
  std::u32string out;
  Converter conv(utf32Host(), "CP932");
  if (!conv.ok()) {
    for (unsigned char c : bytes) out += c < 0x80 ? char32_t(c) : U'\uFFFD';
    return out;
  }
  std::vector<char> in(bytes.begin(), bytes.end());
  char* inPtr = in.data();
  size_t inLeft = in.size();
  while (inLeft > 0) {
    char32_t buf[256];
    char* outPtr = reinterpret_cast<char*>(buf);
    size_t outLeft = sizeof buf;
    size_t r = iconv(conv.get(), &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buf, (sizeof buf - outLeft) / sizeof(char32_t));
    if (r == static_cast<size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
      out += U'\uFFFD';
      ++inPtr;
      --inLeft;
      iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::optional<std::string> encodeCp932(std::u32string_view text) {
  Converter conv("CP932", utf32Host());
  if (!conv.ok()) return std::nullopt;
  std::u32string copy(text);
  char* inPtr = reinterpret_cast<char*>(copy.data());
  size_t inLeft = copy.size() * sizeof(char32_t);
  std::string out;
  while (inLeft > 0) {
    char buf[256];
    char* outPtr = buf;
    size_t outLeft = sizeof buf;
    size_t r = iconv(conv.get(), &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buf, sizeof buf - outLeft);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;
  }
  return out;
}

std::string toUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

/* Strict: a sequence decodes only when it is the shortest form of a scalar value, so
   overlong forms, surrogates and values above U+10FFFF are as broken as a stray
   continuation byte. */
std::u32string fromUtf8(std::string_view s) {
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  std::u32string out;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    bool ok = len > 0 && i + len <= s.size();
    for (int k = 1; ok && k < len; ++k) {
      unsigned char cb = static_cast<unsigned char>(s[i + k]);
      ok = (cb & 0xC0) == 0x80;
      c = (c << 6) | (cb & 0x3F);
    }
    ok = ok && c >= kSmallest[len] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    if (!ok) {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    out += c;
    i += len;
  }
  return out;
}

std::string lineBreaksAsNewlines(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out += '\n';
  }
  return out;
}

}  // namespace platform
