#pragma once
// Sound through SDL2_mixer: MIDI with a General MIDI soundfont, rendered ahead or through
// the library's synthesiser, and waves on one channel of their own.
#include <memory>

#include "gui/audio.h"
#include "platform/port.h"

namespace backends::sdl {

// Opens the audio device and the MIDI synthesiser. Without an audio device it
// says so once on standard error and returns a silent mixer that keeps time by
// `now`; without a soundfont it says so once and the music is silent while waves
// still sound. Music is rendered ahead where the system can (`renderAhead`), else
// synthesised as it sounds. One mixer at a time.
std::unique_ptr<gui::Mixer> openMixer(gui::TickSource now,
                                      bool renderAhead = platform::kRendersMidi);

}  // namespace backends::sdl
