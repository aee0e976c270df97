#pragma once
// The background music device "bg": at most one MIDI piece open, with the
// commands the music procedures send to it. Whether the piece has stopped is
// told by its own length (a piece started at tick t0 with length L has stopped
// from tick t0 + L on), not by the synthesiser, which sounds on for a while; t0 is
// when the piece began to sound, which is later than asked while it loads.
#include <filesystem>
#include <optional>

#include "gui/audio.h"

namespace media {

// The device's mode: whether its piece plays, by the piece's own length.
enum class MusicState { Stopped, Playing };

class MusicDevice {
 public:
  MusicDevice(gui::Mixer& mixer, gui::TickSource now);
  ~MusicDevice();
  MusicDevice(const MusicDevice&) = delete;
  MusicDevice& operator=(const MusicDevice&) = delete;

  // Opens a MIDI file; false (and nothing open) when the file is missing, not a
  // Standard MIDI File of format 0 or 1, or not playable, or when a piece is
  // already open.
  bool open(const std::filesystem::path& file);
  // Starts the piece from its beginning unless it is playing.
  void play();
  // Starts the piece from its beginning in any case.
  void playFromStart();
  // Halts the piece; it is Stopped from then on.
  void stop();
  // Halts and forgets the piece.
  void close();
  // Nullopt when nothing is open.
  std::optional<MusicState> status() const;
  // The tick from which the piece playing is Stopped by its length, at the earliest (while
  // it loads, its length after it was started); nullopt when it is not playing.
  std::optional<uint32_t> stopsAt() const;

 private:
  struct Piece {
    gui::Mixer::MusicHandle handle;
    uint32_t lengthMs;
    std::optional<uint32_t> startedAt;
  };

  gui::Mixer& mixer_;
  gui::TickSource now_;
  std::optional<Piece> piece_;
};

}  // namespace media
