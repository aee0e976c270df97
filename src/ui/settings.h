#pragma once
// The player's comforts that are no part of the game: volume and mute.
namespace ui {

struct Settings {
  int volume = 100;  // percent, in steps of 10
  bool muted = false;
  // The volume the mixer plays at.
  int effectiveVolume() const { return muted ? 0 : volume; }
};

}  // namespace ui
