#pragma once
// Music rendered ahead into memory and played from there: each piece is synthesised once,
// on the library thread and many times faster than it plays, and every later start
// replays the samples, so a piece that loops costs the processor nothing after its first
// pass and needs no synthesiser while it does. A start sounds as soon as the piece's first
// block is rendered.
#include <memory>

#include "backends/sdl/music_player.h"

namespace backends::sdl {

// Hooks the mixer library's music output: one at a time, and only where
// platform::kRendersMidi.
std::unique_ptr<MusicPlayer> openRenderedMusic(gui::TickSource now);

}  // namespace backends::sdl
