// File names between text and the file system, and C files opened by such names: the
// same on Linux (bytes) and Windows (UTF-16, never through the ANSI code page).
#include "platform/file_names.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_bytes.h"
#include "platform/port.h"
#include "platform/text_codec.h"
#include "unit/audio_fixtures.h"

namespace {

namespace fs = std::filesystem;

TEST(FileNames, Utf8NamesMakePathsAndComeBack) {
  for (const char* name : {"TORAMI.acs", "部屋.szg", "ﾁｬﾝｽ!.wav", "夜の曲/１.MID", "😀.txt"}) {
    SCOPED_TRACE(name);
    const fs::path path = platform::pathFromUtf8(name);
    EXPECT_EQ(platform::utf8OfPath(path), name);
  }
  EXPECT_EQ(platform::pathFromUtf8("a/b.szg").filename(), platform::pathFromUtf8("b.szg"));
  EXPECT_EQ(platform::pathFromUtf8("夜/曲.MID").parent_path(), platform::pathFromUtf8("夜"));
}

TEST(FileNames, AJapaneseNameHoldsAFileThatOpensByIt) {
  audio_test::ScratchFolder folder;
  const fs::path file = folder.path() / platform::pathFromUtf8("灯台守の手紙.jsonl");
  std::FILE* f = platform::openFile(file, "wb");
  ASSERT_NE(f, nullptr);
  EXPECT_GE(std::fputs("{\"save\":\"torami\"}\n", f), 0);
  EXPECT_TRUE(platform::syncToDisk(f));
  EXPECT_EQ(std::fclose(f), 0);
  f = platform::openFile(file, "ab");
  ASSERT_NE(f, nullptr);
  std::fputs("more\n", f);
  std::fclose(f);
  const auto bytes = platform::readFileBytes(file, 1000);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "{\"save\":\"torami\"}\nmore\n");
  bool listed = false;
  for (const auto& entry : fs::directory_iterator(folder.path()))
    listed = listed || platform::utf8OfPath(entry.path().filename()) == "灯台守の手紙.jsonl";
  EXPECT_TRUE(listed) << "the name on disk is the name given";
}

/* A name stored as code page 932 bytes by a tool without Unicode names reads back as the
   characters those bytes stand for. */
TEST(FileNames, LegacyNamesReadBackAsTheirCharacters) {
  for (const char32_t* text : {U"部屋.szg", U"ﾁｬﾝｽ.wav", U"ROOM1.SZG"}) {
    const auto bytes = platform::encodeCp932(text);
    ASSERT_TRUE(bytes);
    const auto name = platform::legacyName(*bytes);
    if (!name) continue;  // the system's code page cannot hold these bytes as a name
    EXPECT_EQ(platform::legacyNameText(*name), text);
  }
  EXPECT_EQ(platform::legacyNameText(platform::pathFromUtf8("ROOM1.SZG")), U"ROOM1.SZG");
}

}  // namespace
