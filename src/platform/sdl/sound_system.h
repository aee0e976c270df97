#pragma once
// What the SDL mixer needs from the system it runs on: a MIDI synthesiser (FluidSynth with a
// General MIDI soundfont on Linux, the system's own synthesiser on Windows).
#include <string>

namespace platform::sdl {

// One line for the user on standard error.
void tell(const std::string& text);

// Readies the mixer's MIDI synthesiser before the first piece is loaded; false (after
// telling the user why) when music will be silent.
bool openSynthesiser();

}  // namespace platform::sdl
