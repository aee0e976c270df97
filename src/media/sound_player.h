#pragma once
// SOUND: plays a wave file with the play-sound flags of the script, one wave at a
// time, independently of the music.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "gui/audio.h"

namespace media {

// Play-sound flags (bit masks that add up); other bits are ignored.
inline constexpr int32_t kSoundSync = 0;       // return when the sound has ended
inline constexpr int32_t kSoundAsync = 1;      // return at once while it plays
inline constexpr int32_t kSoundNoDefault = 2;  // silence instead of the default sound
inline constexpr int32_t kSoundLoop = 8;       // with kSoundAsync: repeat until the next sound
inline constexpr int32_t kSoundNoStop = 16;    // leave a playing sound alone, play nothing

struct SoundResult {
  bool played = false;   // the file itself started
  uint32_t blockMs = 0;  // how long a synchronous call blocks the caller
};

class SoundPlayer {
 public:
  // `defaultSound` is the wave played for a file that cannot be played; empty
  // or unreadable means silence.
  SoundPlayer(gui::Mixer& mixer, std::span<const uint8_t> defaultSound);

  // SOUND with the wave file resolved in the game folder (nullopt when there is
  // none) and the flags widened with their sign. The caller blocks for
  // `blockMs` without processing events.
  SoundResult SOUND(const std::optional<std::filesystem::path>& file, int32_t flags);

 private:
  SoundResult playDefault(bool sync);

  gui::Mixer& mixer_;
  std::vector<uint8_t> defaultBytes_;
  std::optional<uint32_t> defaultLengthMs_;
};

}  // namespace media
