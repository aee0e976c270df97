#pragma once
// File names between the program's text and the file system. Names given as text (the
// command line, the script) are UTF-8 or characters; the file system holds bytes on Linux
// and UTF-16 on Windows. No conversion here goes through the system's ANSI code page,
// except the one that asks for it by name.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/port.h"

namespace platform {

// A path from UTF-8 text.
std::filesystem::path pathFromUtf8(std::string_view utf8);
// A path as UTF-8 text (on Linux its bytes, whatever they are).
std::string utf8OfPath(const std::filesystem::path& path);

}  // namespace platform
