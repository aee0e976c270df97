#include "platform/soundfont.h"

#include <gtest/gtest.h>

#include "audio_fixtures.h"

namespace {

using platform::findSoundFont;

class SoundFontTest : public ::testing::Test {
 protected:
  audio_test::ScratchFolder folder;
  std::string large = folder.write("large.sf2", {1}).string();
  std::string small = folder.write("small.sf3", {1}).string();
  std::string absent = (folder.path() / "absent.sf2").string();
};

TEST_F(SoundFontTest, TheFirstCandidatePresentWins) {
  const std::vector<std::string> candidates = {absent, large, small};
  const auto choice = findSoundFont(nullptr, candidates);
  EXPECT_EQ(choice.path, large);
  EXPECT_EQ(choice.note, std::nullopt);
  EXPECT_EQ(findSoundFont("", candidates).path, large) << "an empty override counts as none";
}

TEST_F(SoundFontTest, TheOverrideComesFirst) {
  const std::vector<std::string> candidates = {large};
  const auto choice = findSoundFont(small.c_str(), candidates);
  EXPECT_EQ(choice.path, small);
  EXPECT_EQ(choice.note, std::nullopt);
}

TEST_F(SoundFontTest, AMissingOverrideIsToldAndTheSearchGoesOn) {
  const std::vector<std::string> candidates = {large};
  const auto choice = findSoundFont(absent.c_str(), candidates);
  EXPECT_EQ(choice.path, large);
  ASSERT_TRUE(choice.note);
  EXPECT_NE(choice.note->find(absent), std::string::npos);
}

TEST_F(SoundFontTest, NoSoundFontAtAllNamesWhatToInstall) {
  const std::vector<std::string> candidates = {absent, folder.path().string()};
  const auto choice = findSoundFont(nullptr, candidates);
  EXPECT_EQ(choice.path, std::nullopt);
  ASSERT_TRUE(choice.note);
  EXPECT_NE(choice.note->find("soundfont"), std::string::npos);
  EXPECT_NE(choice.note->find("TORAMI_SOUNDFONT"), std::string::npos);
}

TEST(SoundFontCandidates, PreferTheLargerGeneralMidiFont) {
  const auto& candidates = platform::soundFontCandidates();
  const auto position = [&](const std::string& path) {
    return std::find(candidates.begin(), candidates.end(), path) - candidates.begin();
  };
  EXPECT_LT(position("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
            position("/usr/share/sounds/sf3/default-GM.sf3"));
  EXPECT_LT(position("/usr/share/sounds/sf3/default-GM.sf3"),
            position("/usr/share/sounds/sf2/TimGM6mb.sf2"));
  EXPECT_LT(position("/usr/share/sounds/sf2/TimGM6mb.sf2"),
            static_cast<std::ptrdiff_t>(candidates.size()));
}

}  // namespace
