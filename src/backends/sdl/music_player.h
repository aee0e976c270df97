#pragma once
// The music half of the SDL mixer: one piece of several loaded sounds at a time. Two ways
// to play: pieces rendered ahead into memory (rendered_music.h), or synthesised as they
// sound by the mixer library's own synthesiser (synth_music.h).
#include <optional>
#include <span>

#include "gui/audio.h"

namespace backends::sdl {

// When a piece's last start sounded; shared by the thread that asks and the thread that
// plays, under the player's lock.
struct StartTime {
  bool waiting = false;               // started, and not sounding yet
  std::optional<uint32_t> soundedAt;  // when the last start sounded
  // What the mixer tells: the clock's present while the start waits to sound.
  std::optional<uint32_t> told(const gui::TickSource& now) const {
    return waiting ? std::optional(now()) : soundedAt;
  }
};

class MusicPlayer {
 public:
  using Handle = gui::Mixer::MusicHandle;

  virtual ~MusicPlayer() = default;
  // Takes a copy of a Standard MIDI File whose header is already checked.
  virtual Handle load(std::span<const uint8_t> smf) = 0;
  // What gui::Mixer's startMusic, haltMusic, freeMusic and musicSoundedAt do.
  virtual void start(Handle piece) = 0;
  virtual void halt() = 0;
  virtual void free(Handle piece) = 0;
  virtual std::optional<uint32_t> soundedAt(Handle piece) = 0;
  // 0..MIX_MAX_VOLUME.
  virtual void setVolume(int volume) = 0;
};

}  // namespace backends::sdl
