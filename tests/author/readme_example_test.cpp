// The README's headless example runs as written: its input file (comments at the ends of
// lines included) and its command line, in a folder where build/torami and demo are.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

TEST(ReadmeExample, TheHeadlessExampleRunsAsWritten) {
  std::ifstream in(fs::path(TORAMI_SOURCE_DIR) / "README.md");
  std::string line, input, command;
  bool inInput = false;
  while (std::getline(in, line)) {
    if (line.find("An input file, `moves.txt`:") != std::string::npos) {
      inInput = true;
      std::getline(in, line);  // the blank line before the block
      continue;
    }
    if (inInput) {
      if (line.empty()) {
        inInput = false;
      } else {
        input += line.substr(4) + "\n";
      }
    }
    if (line.rfind("    build/torami --headless", 0) == 0) command = line.substr(4);
  }
  ASSERT_FALSE(input.empty());
  ASSERT_FALSE(command.empty());
  const fs::path dir = testing_support::scenarioFolder("readme");
  fs::create_directory_symlink(fs::path(TORAMI_BINARY).parent_path(), dir / "build");
  fs::create_directory_symlink(fs::path(TORAMI_SOURCE_DIR) / "demo", dir / "demo");
  std::ofstream(dir / "moves.txt") << input;
  const std::string shell = "cd '" + dir.string() + "' && " + command + " >trace.jsonl 2>err.txt";
  const int status = std::system(shell.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3) << "the run ends when the input is used up";
  std::ifstream trace(dir / "trace.jsonl");
  std::stringstream text;
  text << trace.rdbuf();
  EXPECT_NE(text.str().find("\"ev\":\"wait\""), std::string::npos);
  EXPECT_EQ(text.str().find("\"ev\":\"error\""), std::string::npos);
  EXPECT_NE(text.str().find("\"reason\":\"input\""), std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "shots" / "0001.png"));
}

}  // namespace
