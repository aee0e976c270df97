// Where the player finds its own folder, the user's data folder and the Japanese fonts,
// and how a process starts: each system's way.
#include <gtest/gtest.h>

#include "gui/font.h"
#include "platform/file_names.h"
#include "platform/port.h"
#include "support/environment.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

namespace fs = std::filesystem;
using testing_support::EnvOverride;

TEST(SystemFolders, TheExecutableFolderIsWhereTheProgramLies) {
  // The tests are built beside the player.
  const fs::path folder = platform::executableFolder();
  std::error_code ec;
  EXPECT_TRUE(fs::equivalent(folder, fs::path(TORAMI_BINARY).parent_path(), ec)) << folder;
}

#ifdef _WIN32
TEST(SystemFolders, TheDataFolderIsTheRoamingApplicationDataFolder) {
  const auto folder = platform::userDataFolder();
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->filename(), fs::path(L"torami"));
  const wchar_t* appData = _wgetenv(L"APPDATA");
  ASSERT_TRUE(appData);
  std::error_code ec;
  EXPECT_TRUE(fs::equivalent(folder->parent_path(), fs::path(appData), ec)) << *folder;
}
#else
TEST(SystemFolders, TheDataFolderFollowsTheXdgRules) {
  {
    EnvOverride xdg("XDG_DATA_HOME", "/data/home");
    EnvOverride home("HOME", "/home/player");
    EXPECT_EQ(platform::userDataFolder(), fs::path("/data/home/torami"));
  }
  {
    EnvOverride xdg("XDG_DATA_HOME", "");
    EnvOverride home("HOME", "/home/player");
    EXPECT_EQ(platform::userDataFolder(), fs::path("/home/player/.local/share/torami"));
  }
  EnvOverride xdg("XDG_DATA_HOME", nullptr);
  EnvOverride home("HOME", nullptr);
  EXPECT_EQ(platform::userDataFolder(), std::nullopt);
}
#endif

/* Both design faces are found (on Windows beside the executable, where the build puts
   the IPA fonts, unless the system has the title's own), and a missing one says what to
   do on this system. */
TEST(SystemFolders, BothJapaneseFacesAreFound) {
  for (const gui::Face face : {gui::Face::Gothic, gui::Face::Mincho}) {
    const std::string file = platform::findFontFile(face);
    ASSERT_FALSE(file.empty());
    std::error_code ec;
    EXPECT_TRUE(fs::is_regular_file(platform::pathFromUtf8(file), ec)) << file;
  }
#ifdef _WIN32
  EXPECT_NE(platform::fontMissingAdvice(gui::Face::Mincho).find("ipam.ttf"), std::string::npos);
#else
  EXPECT_NE(platform::fontMissingAdvice(gui::Face::Mincho).find("fonts-ipafont-mincho"),
            std::string::npos);
#endif
}

TEST(SystemFolders, AProcessGetsItsArgumentsAsUtf8AndBinaryStreams) {
  char program[] = "torami", option[] = "--headless", game[] = "demo";
  char* argv[] = {program, option, game, nullptr};
  const std::vector<std::string> args = platform::startProcess(3, argv);
#ifdef _WIN32
  // Windows gives the wide command line of this very process.
  ASSERT_FALSE(args.empty());
  EXPECT_EQ(platform::pathFromUtf8(args[0]).stem(), fs::path(L"torami_tests"));
  EXPECT_EQ(_setmode(_fileno(stdout), _O_BINARY), _O_BINARY) << "no CR before each LF";
#else
  EXPECT_EQ(args, (std::vector<std::string>{"torami", "--headless", "demo"}));
#endif
}

}  // namespace
