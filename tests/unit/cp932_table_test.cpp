// The browser build's code page 932 tables (made from this system's iconv at build time)
// give exactly what the iconv codec gives.
#include "platform/web/cp932_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/text_codec.h"

namespace {

/* Every one- and two-byte sequence, and random text that strings them together. */
TEST(Cp932Table, DecodesAsIconvDoes) {
  for (int a = 0; a < 256; ++a) {
    for (int b = -1; b < 256; ++b) {
      std::string bytes(1, static_cast<char>(a));
      if (b >= 0) bytes += static_cast<char>(b);
      ASSERT_EQ(platform::cp932::decode(bytes), platform::decodeCp932(bytes)) << a << " " << b;
    }
  }
  std::mt19937 random(932);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(random() % 12, '\0');
    for (char& c : bytes)
      c = static_cast<char>(random() % 4 ? 0x81 + random() % 0x7C : random() % 256);
    ASSERT_EQ(platform::cp932::decode(bytes), platform::decodeCp932(bytes)) << i;
  }
}

TEST(Cp932Table, EncodesEveryCharacterAsIconvDoes) {
  for (char32_t c = 0; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::u32string text{U'A', c, U'\u3042'};
    ASSERT_EQ(platform::cp932::encode(text), platform::encodeCp932(text))
        << std::hex << unsigned(c);
  }
  EXPECT_EQ(platform::cp932::encode(U"\U0001F600"), std::nullopt);  // beyond the table
}

}  // namespace
