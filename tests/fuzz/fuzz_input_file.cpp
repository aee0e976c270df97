// The input file of headless runs: any bytes either parse into actions that keep their
// rules (timed ones in order, indexes in range) or fail with one short message naming the
// file and line; the actions then drive the headless backend's clock without fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "backends/headless/headless_backend.h"
#include "engine/run_end.h"
#include "fuzz/expect.h"
#include "record/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<record::InputAction> actions;
  try {
    actions = record::parseInputScript(text, "in");
  } catch (const record::InputError& e) {
    const std::string said = e.what();
    FUZZ_EXPECT(said.rfind("in:", 0) == 0);
    FUZZ_EXPECT(said.size() < 120);
    FUZZ_EXPECT(e.status() == engine::kExitUsage);
    return 0;
  }
  std::optional<uint32_t> last;
  int line = 0;
  for (const record::InputAction& a : actions) {
    FUZZ_EXPECT(a.lineNumber > line);
    line = a.lineNumber;
    FUZZ_EXPECT(a.n >= 0 && a.n <= 7);
    if (a.at) {
      FUZZ_EXPECT(!last || *last <= *a.at);
      last = a.at;
    }
  }
  // The engine waiting for the user again and again, with a timer ticking every 100 ms.
  backends::HeadlessBackend backend(actions);
  uint32_t timer = 100;
  try {
    for (int waits = 0; waits < 2 * static_cast<int>(actions.size()) + 2; ++waits) {
      while (backend.nextInput()) {
      }
      backend.wait(gui::Wait::Input, timer);
      if (static_cast<int32_t>(backend.ticks() - timer) >= 0) timer = backend.ticks() + 100;
    }
  } catch (const engine::GameEnd& e) {
    FUZZ_EXPECT(e.reason() == engine::EndReason::Input);
  }
  return 0;
}
