#pragma once
// SOUND of the window: a wave effect from the game folder with the play-sound flags;
// a synchronous one holds the thread, and with it all input, until it has ended.
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/text.h"
#include "media/music.h"
#include "platform/file_lookup.h"
#include "record/recorder.h"

namespace media {

class SoundPlayer;

class SoundEffects {
 public:
  // `block` holds the thread, with all input, for the given milliseconds.
  SoundEffects(MixerSource mixer, const platform::GameFolder& folder,
               std::function<void(uint32_t ms)> block, record::Recorder& recorder);
  ~SoundEffects();
  void SOUND(const engine::Text& name, int16_t flags);
  // The sound services changed: the next sound opens on the new ones.
  void reset();

  // Called with the name of a sound whose file did not play.
  std::function<void(const engine::Text& name)> onFailure;

 private:
  MixerSource mixer_;
  const platform::GameFolder& folder_;
  std::function<void(uint32_t)> block_;
  record::Recorder& recorder_;
  std::unique_ptr<SoundPlayer> player_;
};

}  // namespace media
