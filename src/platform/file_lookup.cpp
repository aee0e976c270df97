#include "platform/file_lookup.h"

#include <system_error>
#include <vector>

#include "platform/file_names.h"
#include "platform/text_codec.h"
#include "platform/unchanging_files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

char32_t fold(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= U'Ａ' && c <= U'Ｚ') return c + 32;
  return c;
}

bool sameIgnoringCase(std::u32string_view a, std::u32string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

// The names one name component may have on disk.
std::vector<fs::path> spellings(std::u32string_view part) {
  std::vector<fs::path> out{pathFromUtf8(toUtf8(part))};
  if (auto sjis = encodeCp932(part))
    if (auto legacy = legacyName(*sjis); legacy && *legacy != out[0]) out.push_back(*legacy);
  return out;
}

std::optional<fs::path> findEntry(const fs::path& dir, std::u32string_view part) {
  std::error_code ec;
  for (const fs::path& name : spellings(part))
    if (fs::exists(dir / name, ec)) return dir / name;
  std::optional<fs::path> found;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const fs::path name = entry.path().filename();
    if (sameIgnoringCase(fromUtf8(utf8OfPath(name)), part) ||
        sameIgnoringCase(legacyNameText(name), part)) {
      if (!found || name < found->filename()) found = entry.path();
    }
  }
  return found;
}

std::optional<fs::path> lookUp(const fs::path& folder, std::u32string_view name) {
  fs::path current = folder;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of(U"\\/", start);
    if (end == std::u32string_view::npos) end = name.size();
    std::u32string_view part = name.substr(start, end - start);
    bool last = end == name.size();
    if (part.empty() || part == U".") {
      if (last) return std::nullopt;
    } else if (part == U"..") {
      current /= "..";
    } else {
      auto next = findEntry(current, part);
      if (!next) return std::nullopt;
      current = *next;
    }
    start = end + 1;
  }
  std::error_code ec;
  if (!fs::is_regular_file(current, ec)) return std::nullopt;
  return current;
}

}  // namespace

std::optional<fs::path> findFile(const fs::path& folder, std::u32string_view name) {
  return rememberedLookup(folder, std::u32string(name), [&] { return lookUp(folder, name); });
}

}  // namespace platform
