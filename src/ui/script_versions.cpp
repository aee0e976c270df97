#include "ui/script_versions.h"

#include "platform/file_bytes.h"
#include "platform/file_names.h"

namespace ui {
namespace {

namespace fs = std::filesystem;

constexpr const char* kScriptFile = "script-path.txt";

std::string pathText(const fs::path& script) {
  std::error_code ec;
  const fs::path full = fs::absolute(script, ec);
  return platform::utf8OfPath((ec ? script : full).lexically_normal());
}

std::string readText(const fs::path& file) {
  const auto bytes = platform::readFileBytes(file, 64 * 1024);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

}  // namespace

std::optional<fs::path> markScriptVersion(const fs::path& dataFolder, const fs::path& versionFolder,
                                          const fs::path& script, bool fresh) {
  const std::string mine = pathText(script);
  std::error_code ec;
  if (!fs::exists(versionFolder / kScriptFile, ec))
    platform::writeFileWhole(versionFolder / kScriptFile, mine);
  if (!fresh) return std::nullopt;
  std::optional<fs::path> latest;
  fs::file_time_type latestTime{};
  for (const auto& entry : fs::directory_iterator(dataFolder, ec)) {
    const fs::path folder = entry.path();
    if (folder == versionFolder || readText(folder / kScriptFile) != mine) continue;
    const auto time = fs::last_write_time(folder, ec);
    if (!latest || time > latestTime) latest = folder, latestTime = time;
  }
  return latest;
}

}  // namespace ui
