// Fuzz target: any bytes as the input file of a headless run. Reading it either gives
// actions or the input-file error that names the line; nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/headless/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    platform::parseInputScript(std::string(reinterpret_cast<const char*>(data), size), "input");
  } catch (const platform::InputError&) {
  }
  return 0;
}
