#pragma once
// The folder the running program's file lies in: the game folder when none is given, and
// where the Windows build finds the fonts shipped beside it.
#include <filesystem>

namespace platform {

// Empty when the system does not tell.
std::filesystem::path executableFolder();

}  // namespace platform
