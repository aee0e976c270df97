#pragma once
// A script error carries its error word up to the interpreter, which reports it
// through EEE with the line that is current at that moment.
#include "engine/text.h"

namespace engine {

struct ScriptError {
  Text word;
};

// Error words for the cases the original left to its runtime.
inline const Text kNotANumber = U"数値不正";
inline const Text kOutOfRange = U"範囲外";
inline const Text kOverflow = U"桁あふれ";

[[noreturn]] inline void fail(Text word) { throw ScriptError{std::move(word)}; }

}  // namespace engine
