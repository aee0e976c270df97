#pragma once
// A script error carries its error word up to the interpreter, which reports it
// through EEE with the line that is current at that moment.
#include "engine/error_words.h"

namespace engine {

struct ScriptError {
  Text word;
};

[[noreturn]] inline void fail(Text word) { throw ScriptError{std::move(word)}; }

}  // namespace engine
