// Code page 932 and UTF-8 at the edges of the program.
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace {

using platform::decodeCp932;
using platform::encodeCp932;

TEST(TextCodec, DecodesCodePage932CharacterByCharacter) {
  // "MES," and three kana: seven characters.
  EXPECT_EQ(decodeCp932("MES,\x82\xa0\x82\xa2\x82\xa4"), U"MES,あいう");
  EXPECT_EQ(decodeCp932("\x5c\x7e"), U"\\~");  // not yen and overline
  EXPECT_EQ(decodeCp932("\x81\x60"), U"～");   // FULLWIDTH TILDE, not WAVE DASH
  EXPECT_EQ(decodeCp932("\x87\x40"), U"①");    // an NEC row
  EXPECT_EQ(decodeCp932("\xc1\xac\xdd\xbd!"), U"ﾁｬﾝｽ!");
  EXPECT_EQ(decodeCp932("\x81\x95\x81\x97\x81\x8f\x81\x45"), U"＆＠￥・");
}

TEST(TextCodec, UndecodableBytesBecomeReplacementCharactersAndDecodingGoesOn) {
  EXPECT_EQ(decodeCp932("A\x85\x40"
                        "B"),
            U"A\uFFFD@B");
  EXPECT_EQ(decodeCp932("A\x82"), U"A\uFFFD");  // a lead byte cut off by the end
  EXPECT_EQ(decodeCp932("\xff\xffZ"), U"\uFFFD\uFFFDZ");
  EXPECT_EQ(decodeCp932(""), U"");
}

TEST(TextCodec, EncodesBackAndRefusesWhatCodePage932Lacks) {
  EXPECT_EQ(encodeCp932(U"部屋1"), std::optional<std::string>("\x95\x94\x89\xae"
                                                              "1"));
  EXPECT_EQ(encodeCp932(U"ascii"), std::optional<std::string>("ascii"));
  EXPECT_EQ(encodeCp932(U"😀"), std::nullopt);
}

/* Look-alikes that one system's tables take one way (to codes that decode to other
   characters), and the private-use stand-ins of the bytes that decode to nothing, have no
   code: what encodes decodes back to itself, on every system. */
TEST(TextCodec, EncodesOnlyWhatDecodesBackToItself) {
  for (const char32_t c : {U'¥', U'¢', U'£', U'¬', U'—', U'‖', U'‾', U'−', U'〜', U'\u0080',
                           U'\uF8F0', U'\uF8F3', U'\uFFFD'}) {
    SCOPED_TRACE(static_cast<unsigned>(c));
    EXPECT_EQ(encodeCp932(std::u32string(1, c)), std::nullopt);
  }
  for (const char32_t c : {U'＼', U'～', U'∥', U'￢', U'－', U'①', U'纊', U'ｱ', U'\uE000'}) {
    SCOPED_TRACE(static_cast<unsigned>(c));
    const auto bytes = encodeCp932(std::u32string(1, c));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(decodeCp932(*bytes), std::u32string(1, c));
  }
}

/* Every one- and two-byte sequence, and every character of the Basic Multilingual Plane:
   the counts, and a digest of the whole table as the Linux build's iconv gives it, which
   the Windows build's system tables must give too. */
TEST(TextCodec, TheWholeTableIsTheSameOnEverySystem) {
  uint64_t digest = 14695981039346656037u;  // FNV-1a
  auto mix = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) digest = (digest ^ ((v >> (8 * i)) & 0xFF)) * 1099511628211u;
  };
  int twoByteCharacters = 0, encodable = 0;
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = -1; trail < 256; ++trail) {
      if (trail >= 0 && lead < 0x80) continue;
      std::string bytes(1, static_cast<char>(lead));
      if (trail >= 0) bytes += static_cast<char>(trail);
      const std::u32string text = decodeCp932(bytes);
      for (char32_t c : text) mix(c);
      mix(0xFFFFFFFF);
      twoByteCharacters += trail >= 0 && text.size() == 1 && text[0] != U'\uFFFD';
    }
  }
  for (char32_t c = 0; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const auto bytes = encodeCp932(std::u32string(1, c));
    if (!bytes) continue;
    ++encodable;
    mix(c);
    for (unsigned char b : *bytes) mix(b);
  }
  EXPECT_EQ(twoByteCharacters, 9604);
  EXPECT_EQ(encodable, 9397);
  EXPECT_EQ(digest, 0x11ca60d4137c69ecu) << std::hex << digest;
}

TEST(TextCodec, Utf8RoundTripsAndReplacesBrokenSequences) {
  std::u32string text = U"aé漢😀";
  EXPECT_EQ(platform::fromUtf8(platform::toUtf8(text)), text);
  EXPECT_EQ(platform::fromUtf8("a\xe6\xbc"), U"a\uFFFD\uFFFD");
  EXPECT_EQ(platform::fromUtf8("\xc3("), U"\uFFFD(");
}

/* Only the shortest form of a scalar value decodes: overlong forms (which would let "/"
   hide in a name on its way to a file lookup), surrogates and values above U+10FFFF
   are broken sequences, one U+FFFD per byte. */
TEST(TextCodec, Utf8DecodingIsStrict) {
  const struct {
    const char* what;
    std::string bytes;
    std::u32string text;
  } cases[] = {
      {"overlong slash in two bytes", "a\xc0\xaf", U"a\uFFFD\uFFFD"},
      {"overlong slash in three bytes", "\xe0\x80\xaf", U"\uFFFD\uFFFD\uFFFD"},
      {"overlong slash in four bytes", "\xf0\x80\x80\xaf", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"overlong NUL", "\xc1\x80", U"\uFFFD\uFFFD"},
      {"high surrogate", "\xed\xa0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"low surrogate", "\xed\xbf\xbfz", U"\uFFFD\uFFFD\uFFFDz"},
      {"above U+10FFFF", "\xf4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"five-byte lead", "\xf8\x88\x80\x80\x80", std::u32string(5, U'\uFFFD')},
      {"smallest two-byte form", "\xc2\x80", U"\u0080"},
      {"smallest three-byte form", "\xe0\xa0\x80", U"\u0800"},
      {"last before the surrogates", "\xed\x9f\xbf", U"\uD7FF"},
      {"first after the surrogates", "\xee\x80\x80", U"\uE000"},
      {"smallest four-byte form", "\xf0\x90\x80\x80", U"\U00010000"},
      {"largest scalar value", "\xf4\x8f\xbf\xbf", U"\U0010FFFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::fromUtf8(c.bytes), c.text) << c.what;
}

TEST(TextCodec, LineBreaksBecomeNewlines) {
  EXPECT_EQ(platform::lineBreaksAsNewlines("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

}  // namespace
