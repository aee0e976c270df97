#pragma once
// The script's background music: MUSPL starts, stops and closes the piece on the
// device "bg", and the tick handler of the 100 ms music timer loops it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "media/music_device.h"

namespace media {

// Switches the music timer TimerMIDI on or off.
using TimerSwitch = std::function<void(bool enabled)>;

// MUSPL(name, mode) with the name already resolved to a file of the game folder
// (nullopt when there is none). Mode 0 stops and closes the piece and disables
// the timer; mode 1 replaces the piece with `file`, plays it and enables the
// timer, also when the file does not open; mode 9 only closes; other modes do
// nothing. Returns whether mode 1 opened the piece.
bool MUSPL(MusicDevice& bg, const std::optional<std::filesystem::path>& file, int16_t mode,
           const TimerSwitch& setTimerMIDI);

// timerMIDI_Timer(): restarts the piece from its beginning when it has stopped.
// Returns whether it did.
bool timerMIDI_Timer(MusicDevice& bg);

}  // namespace media
