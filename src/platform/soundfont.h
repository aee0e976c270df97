#pragma once
// Finding a General MIDI soundfont for the MIDI synthesiser.
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The usual places, larger and better fonts first.
const std::vector<std::string>& soundFontCandidates();

struct SoundFontChoice {
  std::optional<std::string> path;  // the soundfont to use
  std::optional<std::string> note;  // something to tell the user once
};

// The file named by `override` (the TORAMI_SOUNDFONT variable) when it exists,
// else the first candidate that is a regular file. A missing override file or no
// soundfont at all comes with a note that says so.
SoundFontChoice findSoundFont(const char* override, std::span<const std::string> candidates);

// The soundfont the synthesiser was given, for the renderers made after it; empty before.
void rememberSoundFont(const std::string& path);
std::string soundFontInUse();

}  // namespace platform
