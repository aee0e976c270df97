// The script loader, the field reader and the condition evaluator on any bytes: a script
// loads or is refused at its 1201st line; every field of every line reads as text, and as
// a number or a condition either gives a value or fails with one of the error words,
// never anything else.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/condition.h"
#include "engine/error_words.h"
#include "engine/fields.h"
#include "engine/script_error.h"
#include "engine/script_store.h"
#include "fuzz/expect.h"

namespace {

bool known(const engine::Text& word) {
  using namespace engine;
  return word == kMissingField || word == kBadCondition || word == kNotANumber ||
         word == kOutOfRange || word == kOverflow;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static engine::ScriptStore store;  // 1201 slots: kept between runs, refilled by each
  int lastLine = 0;
  const bool loaded = store.loadBytes({reinterpret_cast<const char*>(data), size}, lastLine);
  FUZZ_EXPECT(loaded || lastLine == engine::kMaxLines + 1);
  FUZZ_EXPECT(store.lineCount() <= engine::kMaxLines);
  engine::Flags flags{};
  for (int i = 0; i < static_cast<int>(flags.size()); ++i) flags[i] = static_cast<int16_t>(i * 7);
  // The first lines and fields only: a script error is an exception, and thousands of them
  // per input would leave little time for new inputs.
  for (int k = 0; k <= store.lineCount() + 1 && k < 64; ++k) {
    const engine::Text& line = store.line(k);
    const int16_t fields = static_cast<int16_t>(std::count(line.begin(), line.end(), U',') + 2);
    for (int16_t n = -1; n <= fields && n < 12; ++n) {
      try {
        const engine::Text text = engine::CUTA(line, n);
        FUZZ_EXPECT(text.size() <= line.size() || text == engine::kMissingField);
        engine::CUTV(line, n, flags);
        const int16_t truth = engine::TCHK(text, flags);
        FUZZ_EXPECT(truth == 0 || truth == -1);
      } catch (const engine::ScriptError& e) {
        FUZZ_EXPECT(known(e.word));
      }
    }
  }
  return 0;
}
