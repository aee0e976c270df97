#include "platform/unchanging_files.h"

#include <map>

namespace platform {
namespace {

constexpr size_t kBudget = size_t{64} << 20;  // bytes of files kept

struct Memory {
  bool on = false;
  size_t kept = 0;
  std::map<std::pair<std::filesystem::path, size_t>, std::optional<std::vector<uint8_t>>> reads;
  std::map<std::pair<std::filesystem::path, std::u32string>, std::optional<std::filesystem::path>>
      lookups;
  std::map<std::pair<std::filesystem::path, std::string>, std::optional<int64_t>> answers;
};

Memory& memory() {
  static Memory m;
  return m;
}

}  // namespace

void treatFilesAsUnchanging() { memory().on = true; }

std::optional<std::vector<uint8_t>> rememberedRead(
    const std::filesystem::path& path, size_t limit,
    const std::function<std::optional<std::vector<uint8_t>>()>& read) {
  Memory& m = memory();
  if (!m.on) return read();
  const auto key = std::make_pair(path, limit);
  if (auto it = m.reads.find(key); it != m.reads.end()) return it->second;
  auto bytes = read();
  const size_t size = bytes ? bytes->size() : 0;
  if (m.kept + size <= kBudget) {
    m.kept += size;
    m.reads.emplace(key, bytes);
  }
  return bytes;
}

std::optional<std::filesystem::path> rememberedLookup(
    const std::filesystem::path& folder, const std::u32string& name,
    const std::function<std::optional<std::filesystem::path>()>& find) {
  Memory& m = memory();
  if (!m.on) return find();
  auto [it, fresh] = m.lookups.try_emplace({folder, name});
  if (fresh) it->second = find();
  return it->second;
}

std::optional<int64_t> rememberedNumber(const std::filesystem::path& path,
                                        const std::string& question,
                                        const std::function<std::optional<int64_t>()>& answer) {
  Memory& m = memory();
  if (!m.on) return answer();
  auto [it, fresh] = m.answers.try_emplace({path, question});
  if (fresh) it->second = answer();
  return it->second;
}

bool rememberedAnswer(const std::filesystem::path& path, const std::string& question,
                      const std::function<bool()>& answer) {
  return rememberedNumber(path, question, [&] { return std::optional<int64_t>(answer()); }) == 1;
}

}  // namespace platform
