#pragma once
// Music synthesised as it sounds by the mixer library's synthesiser: where no renderer is
// at hand (the system's synthesiser on Windows, a page without threads).
#include <memory>

#include "backends/sdl/music_player.h"

namespace backends::sdl {

std::unique_ptr<MusicPlayer> openSynthMusic(gui::TickSource now);

}  // namespace backends::sdl
