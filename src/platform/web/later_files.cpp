// A game packed for the page carries in its package what it needs up to its title; its
// other pictures and sounds are served beside the page and fetched once the title is up
// (page.js), each an empty stand-in in the file system until it has come. A file read
// before then is waited for, fetched at once unless it is already on its way. Under node
// (the engine's tests) there is no page and every file is at hand.
#include <emscripten.h>

#include <string>
#include <system_error>

#include "platform/port.h"

namespace platform {
namespace {

// clang-format off
EM_JS(int, fileOnItsWay, (const char* file), {
  return typeof Module.toramiFileOnItsWay == 'function' &&
         Module.toramiFileOnItsWay(UTF8ToString(file)) ? 1 : 0;
});

EM_ASYNC_JS(void, fileArrival, (const char* file), {
  await Module.toramiFileArrival(UTF8ToString(file));
});
// clang-format on

}  // namespace

/* Asked first without yielding, so that reading a file at hand (every file but the few
   that have not come yet) lets no event in between, as before. */
void awaitFile(const std::filesystem::path& file) {
  std::error_code ec;
  const std::string path = std::filesystem::absolute(file, ec).lexically_normal().generic_string();
  if (!ec && fileOnItsWay(path.c_str())) fileArrival(path.c_str());
}

}  // namespace platform
