#pragma once
// What the interpreter asks of the window object: the procedures that draw, wait and
// sound, event processing between passes, and the end of the program.
#include <cstdint>

#include "engine/run_end.h"
#include "engine/text.h"

namespace engine {

class Host {
 public:
  virtual ~Host() = default;
  // Once per pass of the loop, after the command: process pending window events.
  virtual void afterPass() = 0;
  // Before the command of every pass (the trace's line event).
  virtual void beforePass() = 0;

  virtual void CMST(int16_t menu, const Text& text) = 0;
  virtual int16_t CMSL(int16_t menu) = 0;
  virtual void MESHG(const Text& text) = 0;
  virtual void GHG(const Text& name) = 0;
  virtual void SOUND(const Text& name, int16_t flags) = 0;
  virtual void setLabelCaption(int16_t index, const Text& caption) = 0;
  virtual void MUSPL(const Text& name, int16_t mode) = 0;
  virtual void FADE(int16_t mode) = 0;
  [[noreturn]] virtual void endProgram(EndReason reason) = 0;
};

}  // namespace engine
