#pragma once
// The kinds of media a script names anywhere in it, known once it is read: a window gets
// the libraries that show and play them ready before the first one is due.
namespace engine {

class ScriptStore;

struct MediaNamed {
  bool pictures = false;  // GHG
  bool waves = false;     // SOUND
  bool music = false;     // MUSPL
  bool operator==(const MediaNamed&) const = default;
};

MediaNamed mediaNamed(const ScriptStore& script);

}  // namespace engine
