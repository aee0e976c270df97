// The MIDI length reader: any bytes either are refused or give a length within the
// promised range, found without reading past the bytes.
#include <cstddef>
#include <cstdint>

#include "formats/midi_length.h"
#include "fuzz/expect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto ms = formats::midiLengthMs({data, size});
  if (ms) FUZZ_EXPECT(*ms <= 2147483647u);
  return 0;
}
