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
