#pragma once
// What a starting program gets from the system, made alike on every port: the command
// line's arguments as UTF-8, and standard streams that pass bytes unchanged, so that a
// trace written to standard output is the same file everywhere.
#include <string>
#include <vector>

namespace platform {

// Call first thing in main.
std::vector<std::string> startProcess(int argc, char** argv);

}  // namespace platform
