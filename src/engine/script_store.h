#pragma once
// The script in memory: slots 0..1200, slot k holding line k of the file, slot 0 and
// the slots after the last line empty. Filled once by the loader and never changed.
#include <array>
#include <filesystem>
#include <string_view>

#include "engine/text.h"

namespace engine {

inline constexpr int kMaxLines = 1200;

class ScriptStore {
 public:
  // The text of slot k; empty for every k outside 1..1200 and for unused slots.
  const Text& line(int k) const;
  int lineCount() const { return count_; }

  // Splits the file's bytes into lines: CR LF or a lone CR ends a line, a lone LF stays
  // in it; bytes are decoded from code page 932. Returns false on a 1201st line, with
  // `lastLine` set to the number of the line that did not fit.
  bool loadBytes(std::string_view bytes, int& lastLine);

 private:
  std::array<Text, kMaxLines + 1> slots_;
  int count_ = 0;
};

}  // namespace engine
