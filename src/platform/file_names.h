#pragma once
// File names between the program's text and the file system. Names given as text (the
// command line, the script) are UTF-8 or characters; the file system holds bytes on Linux
// and UTF-16 on Windows. No conversion here goes through the system's ANSI code page,
// except the one that asks for it by name.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A path from UTF-8 text.
std::filesystem::path pathFromUtf8(std::string_view utf8);
// A path as UTF-8 text (on Linux its bytes, whatever they are).
std::string utf8OfPath(const std::filesystem::path& path);

// The name under which a program that knew nothing of Unicode stored a file it was given
// as code page 932 bytes: the bytes themselves on Linux, the bytes read in the system's
// ANSI code page on Windows; nullopt when that code page cannot read them.
std::optional<std::filesystem::path> legacyName(std::string_view cp932);
// The characters of such a name: the name's legacy bytes decoded as code page 932; empty
// when the name has no such bytes.
std::u32string legacyNameText(const std::filesystem::path& name);

}  // namespace platform
