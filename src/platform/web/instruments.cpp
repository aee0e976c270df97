// The page serves the patch set beside itself (freepats/); a piece's instruments, and only
// those, are fetched into the program's file system while the player goes on, and the
// synthesiser's jobs wait for them (backends/sdl/library_thread.cpp): the title shows
// before they have come, and its piece starts when they have.
#include <emscripten.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/port.h"
#include "platform/web/midi_instruments.h"

namespace platform {
namespace {

constexpr const char* kConfig = "/freepats/timidity.cfg";

int onTheirWay = 0;  // fetches started and not yet ended
std::vector<std::function<void()>>& waiting() {
  static auto* list = new std::vector<std::function<void()>>;  // outlives the program's end
  return *list;
}

// Starts fetching the files (one a line) from the page's folder into the same paths, and
// returns; torami_instruments_fetched is called when all have arrived or failed. A file
// that cannot be fetched stays missing: that instrument is silent.
// clang-format off
EM_JS(void, fetchFiles, (const char* list), {
  const files = UTF8ToString(list).split('\n').filter(Boolean);
  Promise.all(files.map(async (file) => {
    try {
      const response = await fetch('.' + file);
      if (!response.ok) throw new Error(response.status);
      const bytes = new Uint8Array(await response.arrayBuffer());
      FS.mkdirTree(file.substring(0, file.lastIndexOf('/')));
      FS.writeFile(file, bytes);
    } catch (e) {
      console.warn('torami: cannot fetch the instrument ' + file + ' (' + e + ')');
    }
  })).then(() => {
    if (ABORT || (typeof runtimeExited !== 'undefined' && runtimeExited)) return;
    _torami_instruments_fetched();
  });
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
  if (list.empty()) return;
  ++onTheirWay;
  fetchFiles(list.c_str());
}

bool instrumentsOnTheirWay() { return onTheirWay > 0; }

void whenInstrumentsArrive(std::function<void()> then) {
  if (onTheirWay == 0) {
    then();
    return;
  }
  waiting().push_back(std::move(then));
}

}  // namespace platform

extern "C" EMSCRIPTEN_KEEPALIVE void torami_instruments_fetched() {
  if (--platform::onTheirWay > 0) return;
  std::vector<std::function<void()>> now = std::move(platform::waiting());
  platform::waiting().clear();
  for (auto& then : now) then();
}
