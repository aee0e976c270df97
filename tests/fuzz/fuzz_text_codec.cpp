// The text codec at the edges: code page 932 from the script and file names, UTF-8 from
// the command line and the file system. Every decoded character is a Unicode scalar
// value, and what decodes cleanly encodes back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/expect.h"
#include "platform/text_codec.h"

namespace {

bool scalarValues(const std::u32string& text) {
  for (char32_t c : text)
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::u32string fromCp932 = platform::decodeCp932(bytes);
  FUZZ_EXPECT(scalarValues(fromCp932));
  FUZZ_EXPECT(fromCp932.size() <= bytes.size());
  if (const auto again = platform::encodeCp932(fromCp932))
    FUZZ_EXPECT(platform::decodeCp932(*again) == fromCp932);

  const std::u32string fromUtf8 = platform::fromUtf8(bytes);
  FUZZ_EXPECT(scalarValues(fromUtf8));
  const std::string utf8 = platform::toUtf8(fromUtf8);
  FUZZ_EXPECT(platform::fromUtf8(utf8) == fromUtf8);
  if (fromUtf8.find(U'\uFFFD') == std::u32string::npos) FUZZ_EXPECT(utf8 == bytes);

  FUZZ_EXPECT(platform::lineBreaksAsNewlines(bytes).find('\r') == std::string::npos);
  return 0;
}
