#pragma once
// Runs the torami executable as a child process, for tests of what a user sees: the exit
// status, standard output and standard error.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct ProgramRun {
  std::optional<int> status;  // nullopt: killed by a signal or after the time limit
  std::string out, err;
};

struct ProgramLimits {
  int timeoutMs = 60000;
  // Address space of the child in bytes; 0 for none. Ignored in sanitizer builds, whose
  // shadow memory needs far more address space than the program uses.
  size_t addressSpace = 0;
};

ProgramRun runTorami(const std::vector<std::string>& args, const ProgramLimits& limits = {});

// The whole of a file (empty when it cannot be read).
std::string readFile(const std::filesystem::path& file);
// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

}  // namespace testing_support
