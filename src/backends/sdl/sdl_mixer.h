#pragma once
// Sound through SDL2_mixer: MIDI through its synthesiser with a General MIDI
// soundfont, waves on one channel of their own.
#include <memory>

#include "gui/audio.h"

namespace backends::sdl {

// Opens the audio device and the MIDI synthesiser. Without an audio device it
// says so once on standard error and returns a silent mixer that keeps time by
// `now`; without a soundfont it says so once and the music is silent while waves
// still sound. One mixer at a time.
std::unique_ptr<gui::Mixer> openMixer(gui::TickSource now);

}  // namespace backends::sdl
