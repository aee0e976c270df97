#pragma once
// Which General MIDI instruments a Standard MIDI File plays, and which patch files of a
// Timidity configuration hold them: the page fetches only those before a piece loads.
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::midi {

struct Instruments {
  std::set<int> programs;  // 0..127, of the channels other than 10 that sound a note
  std::set<int> drums;     // notes sounded on channel 10
};

// What the notes of the piece need; a file that is not a Standard MIDI File, or is cut
// short, gives what its readable part needs.
Instruments instrumentsOf(std::span<const uint8_t> smf);

// The patch files (with the configuration's folder in front) that hold `needed`, in the
// order the configuration names them; instruments it does not name are left out.
std::vector<std::string> patchFiles(std::string_view timidityCfg, const Instruments& needed);

}  // namespace platform::midi
