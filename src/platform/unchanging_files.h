#pragma once
// Files that do not change while this process lives. A process that plays one game again
// and again and nothing else (a worker of the explorer) says so once; from then on a file
// is read and a name looked up only the first time, and later reads and lookups give what
// the first gave (within a budget of memory: a file beyond it is read each time).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

void treatFilesAsUnchanging();

// What readFileBytes and findFile ask: the remembered answer, made by `read` or `find` the
// first time (every time while files may change).
std::optional<std::vector<uint8_t>> rememberedRead(
    const std::filesystem::path& path, size_t limit,
    const std::function<std::optional<std::vector<uint8_t>>()>& read);
std::optional<std::filesystem::path> rememberedLookup(
    const std::filesystem::path& folder, const std::u32string& name,
    const std::function<std::optional<std::filesystem::path>()>& find);
// A yes or no, or a number, about a file's content (what `answer` says), remembered as its
// bytes would be.
bool rememberedAnswer(const std::filesystem::path& path, const std::string& question,
                      const std::function<bool()>& answer);
std::optional<int64_t> rememberedNumber(const std::filesystem::path& path,
                                        const std::string& question,
                                        const std::function<std::optional<int64_t>()>& answer);

}  // namespace platform
