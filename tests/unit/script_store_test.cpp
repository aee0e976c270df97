#include "engine/script_store.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/fields.h"
#include "engine/script_error.h"
#include "platform/text_codec.h"

namespace {

using engine::kMaxLines;
using engine::ScriptStore;

std::string utf8(const std::u32string& t) { return platform::toUtf8(t); }

// The store is large (1201 slots); keep it off the stack.
struct Loaded {
  std::unique_ptr<ScriptStore> store = std::make_unique<ScriptStore>();
  bool ok = false;
  int lastLine = -1;
};

Loaded load(const std::string& bytes) {
  Loaded l;
  l.ok = l.store->loadBytes(bytes, l.lastLine);
  return l;
}

std::vector<std::string> lines(const ScriptStore& s) {
  std::vector<std::string> out;
  for (int k = 1; k <= s.lineCount(); ++k) out.push_back(utf8(s.line(k)));
  return out;
}

struct EndingCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST(ScriptStore, LineEndings) {
  const EndingCase cases[] = {
      {"CR LF", "A\r\nB\r\n", {"A", "B"}},
      {"lone CR", "A\rB\r", {"A", "B"}},
      {"lone LF stays in the line", "A\nB\r\nC", {"A\nB", "C"}},
      {"LF CR is LF then a CR end", "A\n\rB", {"A\n", "B"}},
      {"last line without EOL", "A\r\nB", {"A", "B"}},
      {"blank lines are kept", "A\r\n\r\n\rB\r\n", {"A", "", "", "B"}},
      {"CR CR LF", "A\r\r\nB", {"A", "", "B"}},
      {"a single blank line", "\r\n", {""}},
      {"blanks are not trimmed", "  MES,x  \r\n", {"  MES,x  "}},
  };
  for (const EndingCase& c : cases) {
    Loaded l = load(c.bytes);
    EXPECT_TRUE(l.ok) << c.name;
    EXPECT_EQ(lines(*l.store), c.lines) << c.name;
    EXPECT_EQ(l.lastLine, static_cast<int>(c.lines.size())) << c.name;
  }
}

TEST(ScriptStore, EmptyFileLoadsNoLines) {
  Loaded l = load("");
  EXPECT_TRUE(l.ok);
  EXPECT_EQ(l.store->lineCount(), 0);
  for (int k : {0, 1, 2, kMaxLines}) EXPECT_TRUE(l.store->line(k).empty()) << k;
}

TEST(ScriptStore, SlotZeroAndSlotsOutsideTheStoreAreEmpty) {
  Loaded l = load("GOTO,1\r\nEXIT\r\n");
  EXPECT_EQ(utf8(l.store->line(1)), "GOTO,1");
  EXPECT_EQ(utf8(l.store->line(2)), "EXIT");
  for (int k : {0, 3, kMaxLines, kMaxLines + 1, -1, 32767})
    EXPECT_TRUE(l.store->line(k).empty()) << k;
}

std::string numberedLines(int count, const char* eol) {
  std::string bytes;
  for (int k = 1; k <= count; ++k) bytes += "L" + std::to_string(k) + eol;
  return bytes;
}

TEST(ScriptStore, TwelveHundredLinesLoad) {
  for (const char* eol : {"\r\n", "\r"}) {
    Loaded l = load(numberedLines(kMaxLines, eol));
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(l.store->lineCount(), kMaxLines);
    EXPECT_EQ(utf8(l.store->line(kMaxLines)), "L1200");
  }
  // Without an end-of-line after the last one as well.
  std::string bytes = numberedLines(kMaxLines, "\r\n");
  bytes.resize(bytes.size() - 2);
  EXPECT_TRUE(load(bytes).ok);
}

TEST(ScriptStore, TheTwelveHundredAndFirstLineFails) {
  Loaded l = load(numberedLines(kMaxLines + 1, "\r\n"));
  EXPECT_FALSE(l.ok);
  EXPECT_EQ(l.lastLine, kMaxLines + 1);
  // Even an empty 1201st line counts.
  Loaded blank = load(numberedLines(kMaxLines, "\r\n") + "\r\n");
  EXPECT_FALSE(blank.ok);
  EXPECT_EQ(blank.lastLine, kMaxLines + 1);
}

TEST(ScriptStore, DecodesCodePage932ToCharacters) {
  // "MES," and the katakana A, I, U (two bytes each): 7 characters.
  Loaded l = load("MES,\x83\x41\x83\x43\x83\x45\r\n");
  ASSERT_EQ(l.store->lineCount(), 1);
  EXPECT_EQ(l.store->line(1).size(), 7u);
  EXPECT_EQ(utf8(l.store->line(1)), "MES,アイウ");
  // Half-width katakana are one byte and one character each.
  Loaded half = load("\xC1\xAC\xDD\xBD!");
  EXPECT_EQ(utf8(half.store->line(1)), "ﾁｬﾝｽ!");
}

TEST(ScriptStore, UndecodableBytesBecomeReplacementCharacters) {
  // A lead byte cut off by the end of its line, then a normal line.
  Loaded l = load("MES,\x81\r\nEXIT\r\n");
  EXPECT_TRUE(l.ok);
  ASSERT_EQ(l.store->lineCount(), 2);
  EXPECT_EQ(l.store->line(1), U"MES,\uFFFD");
  EXPECT_EQ(utf8(l.store->line(2)), "EXIT");
  // A lead byte with a trail byte that cannot follow it: decoding goes on after it.
  Loaded mid = load(
      "A\x81\x20"
      "B\r\nC");
  ASSERT_EQ(mid.store->lineCount(), 2);
  EXPECT_EQ(mid.store->line(1).front(), U'A');
  EXPECT_NE(mid.store->line(1).find(U'\uFFFD'), std::u32string::npos);
  EXPECT_EQ(mid.store->line(1).back(), U'B');
  EXPECT_EQ(utf8(mid.store->line(2)), "C");
}

TEST(ScriptStore, ALoadReplacesAnEarlierOne) {
  auto store = std::make_unique<ScriptStore>();
  int last = 0;
  ASSERT_TRUE(store->loadBytes("A\r\nB\r\nC\r\n", last));
  ASSERT_TRUE(store->loadBytes("X\r\n", last));
  EXPECT_EQ(store->lineCount(), 1);
  EXPECT_EQ(utf8(store->line(1)), "X");
  EXPECT_TRUE(store->line(2).empty());
}

}  // namespace

namespace {

// What reading a field gives: its text or number, or the error word it fails with.
template <typename F>
std::string outcome(F read) {
  try {
    return read();
  } catch (const engine::ScriptError& e) {
    return "error " + utf8(e.word);
  }
}

/* Fields cut once at loading must read exactly as cutting the line at each call does,
   errors included, for every field number around the line's own fields. */
TEST(ScriptStore, FieldsCutAtLoadingReadAsCuttingEachTime) {
  const std::vector<std::string> script = {"MES,abc",
                                           "INC,1,30000,L",
                                           "LET,F05,-32768",
                                           "X,,F1,F99,F0,Fa,F05x",
                                           "IF,F01=99,4",
                                           "GOTO,32768",
                                           "",
                                           ",",
                                           "A，B,１２",
                                           "CASE, 3,+4,0x10"};
  std::string bytes;
  for (const auto& line : script)
    bytes += *platform::encodeCp932(platform::fromUtf8(line)) + "\r\n";
  Loaded l = load(bytes);
  ASSERT_TRUE(l.ok);
  engine::Flags flags{};
  flags[1] = 7, flags[5] = -3;
  for (int k = 0; k <= static_cast<int>(script.size()) + 1; ++k) {
    const engine::Text& line = l.store->line(k);
    for (int16_t n = -1; n <= 8; ++n) {
      SCOPED_TRACE("line " + std::to_string(k) + " field " + std::to_string(n));
      EXPECT_EQ(outcome([&] { return utf8(engine::Text(l.store->field(k, n))); }),
                outcome([&] { return utf8(engine::CUTA(line, n)); }));
      EXPECT_EQ(outcome([&] { return std::to_string(l.store->number(k, n, flags)); }),
                outcome([&] { return std::to_string(engine::CUTV(line, n, flags)); }));
    }
  }
}

}  // namespace
