#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/text_codec.h"

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

/* Opening a converter loads its tables, which costs far more than converting a line: each
   thread keeps one converter each way, put back in its initial state before each use. */
const Converter& converter(bool decoding) {
  thread_local const Converter decoder(utf32Host(), "CP932");
  thread_local const Converter encoder("CP932", utf32Host());
  const Converter& conv = decoding ? decoder : encoder;
  if (conv.ok()) iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  return conv;
}

}  // namespace

std::u32string decodeCp932(std::string_view bytes) {
  std::u32string out;
  const Converter& conv = converter(true);
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
  const Converter& conv = converter(false);
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
  // iconv also takes a few look-alikes (yen sign, wave dash, minus sign ...) one way, to
  // codes that decode to other characters.
  if (decodeCp932(out) != text) return std::nullopt;
  return out;
}

}  // namespace platform
