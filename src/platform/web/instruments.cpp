// The page serves the patch set beside itself (freepats/); a piece's instruments are
// fetched into the program's file system before it loads, and only those.
#include <emscripten.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/port.h"
#include "platform/web/midi_instruments.h"

namespace platform {
namespace {

constexpr const char* kConfig = "/freepats/timidity.cfg";

// Fetches the files (one a line) from the page's folder into the same paths; yields to the
// page meanwhile. A file that cannot be fetched stays missing: that instrument is silent.
// clang-format off
EM_ASYNC_JS(void, fetchFiles, (const char* list), {
  const files = UTF8ToString(list).split('\n').filter(Boolean);
  await Promise.all(files.map(async (file) => {
    try {
      const response = await fetch('.' + file);
      if (!response.ok) throw new Error(response.status);
      const bytes = new Uint8Array(await response.arrayBuffer());
      FS.mkdirTree(file.substring(0, file.lastIndexOf('/')));
      FS.writeFile(file, bytes);
    } catch (e) {
      console.warn('torami: cannot fetch the instrument ' + file + ' (' + e + ')');
    }
  }));
});
// clang-format on

}  // namespace

void prepareInstruments(std::span<const uint8_t> smf) {
  static const std::string config = [] {
    std::ifstream in(kConfig, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  static std::set<std::string> tried;
  std::string list;
  for (const std::string& file : midi::patchFiles(config, midi::instrumentsOf(smf)))
    if (tried.insert(file).second) list += file + "\n";
  if (!list.empty()) fetchFiles(list.c_str());
}

}  // namespace platform
