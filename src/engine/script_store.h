#pragma once
// The script in memory: slots 0..1200, slot k holding line k of the file, slot 0 and
// the slots after the last line empty. Filled once by the loader and never changed.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "engine/flags.h"
#include "engine/text.h"

namespace engine {

inline constexpr int kMaxLines = 1200;

class ScriptStore {
 public:
  ScriptStore();
  // The text of slot k; empty for every k outside 1..1200 and for unused slots.
  const Text& line(int k) const;
  int lineCount() const { return count_; }
  // Field n of line k as CUTA gives it (the same text, "引数無し" past the last field,
  // empty for n of 0 or less), from the line as cut once at loading.
  TextView field(int k, int16_t n) const;
  // Field n of line k as CUTV reads it, from the number read once at loading.
  int16_t number(int k, int16_t n, const Flags& flags) const;

  // Splits the file's bytes into lines: CR LF or a lone CR ends a line, a lone LF stays
  // in it; bytes are decoded from code page 932. Returns false on a 1201st line, with
  // `lastLine` set to the number of the line that did not fit.
  bool loadBytes(std::string_view bytes, int& lastLine);

 private:
  // A field: where it stands in its line, and how it reads as a number.
  struct Span {
    uint32_t start, length;
    enum class Reads : uint8_t { Number, Flag, NotANumber } reads;
    int16_t value;  // the number, or the flag's index
  };
  const Span& span(int k, int16_t n) const;
  void cut(int k);

  std::array<Text, kMaxLines + 1> slots_;
  std::array<std::vector<Span>, kMaxLines + 1> fields_;
  int count_ = 0;
};

}  // namespace engine
