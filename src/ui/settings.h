#pragma once
// The player's comforts that are no part of the game: volume, mute, full screen, the
// speed of typing, reading aloud and copying the text, kept in the data folder from one run to the
// next.
#include <filesystem>

namespace ui {

struct Settings {
  int volume = 100;       // of the music: percent, in steps of 10
  int soundVolume = 100;  // of the sounds
  bool muted = false;
  bool fullscreen = false;
  // How characters are typed: as the script says (0), twice (1) or four times (2) as fast,
  // or at once (3). Pauses the script writes keep their length.
  int textSpeed = 0;
  static constexpr int kTextSpeeds = 4;
  bool readAloud = false;  // each page and menu said by the system's voice
  bool copyText = false;   // each page put on the clipboard
  // The volumes the mixer plays at.
  int musicVolume() const { return muted ? 0 : volume; }
  int wavesVolume() const { return muted ? 0 : soundVolume; }
};

// The settings in the file, or the defaults where it has none (or cannot be read).
Settings readSettings(const std::filesystem::path& file);
// Writes them through a temporary file; false when it cannot.
bool writeSettings(const std::filesystem::path& file, const Settings& settings);

}  // namespace ui
