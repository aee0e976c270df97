// The versions of a script kept apart in the data folder: an edited script's first run
// finds the folder of the version before, and only that run.
#include "ui/script_versions.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

TEST(ScriptVersions, AnEditedScriptFindsItsVersionBeforeOnce) {
  const fs::path data = testing_support::scenarioFolder("script-versions");
  const fs::path script = data / "game" / "TORAMI.acs", other = data / "other" / "TORAMI.acs";
  for (const fs::path& folder : {data / "v1", data / "v2", data / "x1"})
    fs::create_directories(folder);
  EXPECT_EQ(ui::markScriptVersion(data, data / "v1", script, true), std::nullopt);
  EXPECT_EQ(ui::markScriptVersion(data, data / "x1", other, true), std::nullopt);
  EXPECT_EQ(ui::markScriptVersion(data, data / "v2", script, true), data / "v1");
  EXPECT_EQ(ui::markScriptVersion(data, data / "v2", script, false), std::nullopt);
}

}  // namespace
