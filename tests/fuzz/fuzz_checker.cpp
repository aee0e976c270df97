// Fuzz target: any bytes as a script, loaded and checked as `torami --check` does. The
// checker must never crash or hang, whatever the file holds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "author/checker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  author::CheckOptions options;
  options.media = false;  // the file system is no part of the input
  const auto result =
      author::checkScriptBytes(std::string_view(reinterpret_cast<const char*>(data), size),
                               platform::GameFolder("."), options);
  return result.errors() >= 0 ? 0 : 1;
}
