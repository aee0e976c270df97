// Media names from the script found in the game folder.
#include "platform/file_lookup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/file_names.h"

namespace {

namespace fs = std::filesystem;

struct FileLookup : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("torami-lookup-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "Pics");
  }
  void TearDown() override { fs::remove_all(dir); }
  void touch(const fs::path& p) { std::ofstream(dir / p) << "x"; }
};

// Whether a lookup found this file (on Windows by the name asked for, in its case).
::testing::AssertionResult found(const std::optional<fs::path>& got, const fs::path& file) {
  std::error_code ec;
  if (got && fs::equivalent(*got, file, ec)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << (got ? platform::utf8OfPath(*got) : "nothing") << " found";
}

TEST_F(FileLookup, MatchesWithoutRegardToCaseAndWithBackslashFolders) {
  touch("Pics/Room1.SZG");
  EXPECT_TRUE(found(platform::findFile(dir, U"pics\\room1.szg"), dir / "Pics" / "Room1.SZG"));
  EXPECT_TRUE(found(platform::findFile(dir, U"PICS/ROOM1.szg"), dir / "Pics" / "Room1.SZG"));
  EXPECT_EQ(platform::findFile(dir, U"room1.szg"), std::nullopt);
}

TEST_F(FileLookup, AnExactMatchWins) {
  touch("bgm.MID");
  touch("BGM.MID");
  EXPECT_EQ(platform::findFile(dir, U"BGM.MID"), dir / "BGM.MID");
  EXPECT_EQ(platform::findFile(dir, U"bgm.MID"), dir / "bgm.MID");
}

/* 街 as code page 932 bytes, named the way a tool without Unicode names stored it: the
   bytes themselves on Linux, the bytes read in the system's ANSI code page on Windows. */
TEST_F(FileLookup, FindsJapaneseNamesInUtf8AndInCodePage932) {
  const fs::path room = platform::pathFromUtf8("部屋.szg");
  const auto town = platform::legacyName("\x8a\x58.wav");
  ASSERT_TRUE(town);
  touch(room);
  touch(*town);
  EXPECT_EQ(platform::findFile(dir, U"部屋.szg"), dir / room);
  EXPECT_TRUE(found(platform::findFile(dir, U"街.wav"), dir / *town));
  EXPECT_TRUE(found(platform::findFile(dir, U"街.WAV"), dir / *town));
  EXPECT_EQ(platform::findFile(dir, U"町.wav"), std::nullopt);
}

TEST_F(FileLookup, FoldersEmptyNamesAndMissingFilesAreNotFound) {
  fs::create_directories(dir / "x.szg");
  EXPECT_EQ(platform::findFile(dir, U"x.szg"), std::nullopt);
  EXPECT_EQ(platform::findFile(dir, U".szg"), std::nullopt);
  EXPECT_EQ(platform::findFile(dir, U""), std::nullopt);
  EXPECT_EQ(platform::findFile(dir, U"Pics\\"), std::nullopt);
  EXPECT_EQ(platform::findFile(dir / "nowhere", U"a.szg"), std::nullopt);
}

}  // namespace
