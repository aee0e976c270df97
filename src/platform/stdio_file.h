#pragma once
// C stdio files opened by path (on Windows through the wide-character API, so any name
// opens) and flushed onto the disk itself.
#include <cstdio>
#include <filesystem>

namespace platform {

// fopen with a path; mode as fopen's ("wb", "ab", ...).
std::FILE* openFile(const std::filesystem::path& path, const char* mode);
// Flushes the stream and has the system write it to the disk; false when that fails.
bool syncToDisk(std::FILE* file);

}  // namespace platform
