// `torami --explore --explore-map FILE` as a user runs it: the map only with --explore.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/program_run.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

TEST(ExploreCommand, TheCommandWritesItOnlyWithExplore) {
  const fs::path folder = testing_support::scenarioFolder("explore-map-command");
  testing_support::writeScript(
      folder, "CMST,1,＊出る＊壊す\nCMSL,1,7\nCASE,100\nEXIT\nCASE,101\nLET,40,1\nENDCM\n");
  const std::string map = (folder / "map.html").string();
  const auto alone = testing_support::runTorami({"--explore-map", map, folder.string()});
  EXPECT_EQ(alone.status, 2);
  EXPECT_NE(alone.err.find("--explore-map"), std::string::npos) << alone.err;
  EXPECT_FALSE(fs::exists(map));
  const auto run = testing_support::runTorami({"--explore", "--explore-map", map, folder.string()});
  EXPECT_EQ(run.status, 1);  // a path reaches an error
  EXPECT_NE(run.out.find("map: " + map), std::string::npos) << run.out;
  EXPECT_NE(testing_support::readFile(map).find("error · line 6"), std::string::npos);
}

}  // namespace
