// Media names from the script found in the game folder.
#include "platform/file_lookup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

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

TEST_F(FileLookup, MatchesWithoutRegardToCaseAndWithBackslashFolders) {
  touch("Pics/Room1.SZG");
  EXPECT_EQ(platform::findFile(dir, U"pics\\room1.szg"), dir / "Pics" / "Room1.SZG");
  EXPECT_EQ(platform::findFile(dir, U"PICS/ROOM1.szg"), dir / "Pics" / "Room1.SZG");
  EXPECT_EQ(platform::findFile(dir, U"room1.szg"), std::nullopt);
}

TEST_F(FileLookup, AnExactMatchWins) {
  touch("bgm.MID");
  touch("BGM.MID");
  EXPECT_EQ(platform::findFile(dir, U"BGM.MID"), dir / "BGM.MID");
  EXPECT_EQ(platform::findFile(dir, U"bgm.MID"), dir / "bgm.MID");
}

TEST_F(FileLookup, FindsJapaneseNamesInUtf8AndInCodePage932) {
  touch("部屋.szg");
  touch("\x8a\x58.wav");  // 街 in code page 932 bytes
  EXPECT_EQ(platform::findFile(dir, U"部屋.szg"), dir / "部屋.szg");
  EXPECT_EQ(platform::findFile(dir, U"街.wav"), dir / "\x8a\x58.wav");
  EXPECT_EQ(platform::findFile(dir, U"街.WAV"), dir / "\x8a\x58.wav");
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
