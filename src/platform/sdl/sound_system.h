#pragma once
// What the SDL mixer needs from the system it runs on: a way to keep the sound libraries'
// own messages quiet, and a MIDI synthesiser (FluidSynth with a General MIDI soundfont on
// Linux, the system's own synthesiser on Windows).
#include <string>

namespace platform::sdl {

// One line for the user on standard error.
void tell(const std::string& text);

/* Standard error goes nowhere while it lives. The sound libraries print lines of their
   own while they look for a device; without one the user gets our one line instead. */
class QuietStandardError {
 public:
  QuietStandardError();
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

// Readies the mixer's MIDI synthesiser before the first piece is loaded; false (after
// telling the user why) when music will be silent.
bool openSynthesiser();

}  // namespace platform::sdl
