#pragma once
// The script's background music: MUSPL starts, stops and closes one MIDI piece on the
// device "bg", and the handler of the 100 ms music timer TimerMIDI loops it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "engine/text.h"
#include "media/music_device.h"
#include "platform/file_lookup.h"
#include "record/recorder.h"

namespace media {

// The sound services, asked for only when first needed, so a game without music never
// opens the audio device.
using MixerSource = std::function<gui::Mixer&()>;
// MUSPL's modes.
enum class MusicMode : int16_t { Stop = 0, Play = 1, Close = 9 };
// Switches the music timer TimerMIDI on or off.
using TimerSwitch = std::function<void(bool enabled)>;

class Music {
 public:
  Music(MixerSource mixer, gui::TickSource now, const platform::GameFolder& folder,
        TimerSwitch setTimerMIDI, record::Recorder& recorder);

  // Mode 0 stops and closes the piece and disables the timer; mode 1 replaces the piece
  // with name + ".MID", plays it and enables the timer, also when the file does not open;
  // mode 9 only closes; other modes do nothing. Returns whether mode 1 opened the piece.
  bool MUSPL(const engine::Text& name, int16_t mode);
  // Restarts the piece from its beginning when it has stopped; returns whether it did.
  bool timerMIDI_Timer();
  // The device's state; nullopt when nothing is open.
  std::optional<MusicState> status() const;
  // The tick before which a tick of the timer restarts nothing: the end of the piece
  // playing, by its length; nullopt when a tick may restart it at once.
  std::optional<uint32_t> quietUntil() const;
  // The sound services changed (a saved game was loaded): the piece that is open opens
  // again on the new ones, playing from its beginning if it was playing.
  void reopen();

  // Called with the name of a piece that mode 1 could not open.
  std::function<void(const engine::Text& name)> onFailure;
  // Whether a tick of the timer can restart anything: not while the music is closed, nor
  // when the piece did not open.
  std::function<void(bool possible)> onRestartPossible;

 private:
  MusicDevice& bg();

  MixerSource mixer_;
  gui::TickSource now_;
  const platform::GameFolder& folder_;
  TimerSwitch setTimerMIDI_;
  record::Recorder& recorder_;
  std::unique_ptr<MusicDevice> bg_;
  std::optional<std::filesystem::path> piece_;  // the file of the piece open
};

}  // namespace media
