#include "platform/soundfont.h"

#include <filesystem>
#include <mutex>

namespace platform {
namespace {

bool isFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

const std::vector<std::string>& soundFontCandidates() {
  static const std::vector<std::string> candidates = {
      "/usr/share/sounds/sf2/FluidR3_GM.sf2",      "/usr/share/sounds/sf3/FluidR3_GM.sf3",
      "/usr/share/soundfonts/FluidR3_GM.sf2",      "/usr/share/sounds/sf2/GeneralUser_GS.sf2",
      "/usr/share/sounds/sf3/default-GM.sf3",      "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/sounds/sf2/TimGM6mb.sf2",        "/usr/share/soundfonts/default.sf2",
      "/usr/share/soundfonts/default.sf3",         "/usr/local/share/soundfonts/default.sf2",
      "/usr/share/sounds/sf2/fluidr3_gm.sf2",      "/opt/homebrew/share/soundfonts/default.sf2",
      "/usr/local/share/sounds/sf2/FluidR3_GM.sf2"};
  return candidates;
}

SoundFontChoice findSoundFont(const char* override, std::span<const std::string> candidates) {
  SoundFontChoice choice;
  if (override && *override) {
    if (isFile(override)) return {override, std::nullopt};
    choice.note = std::string("TORAMI_SOUNDFONT names no soundfont file: ") + override;
  }
  for (const std::string& path : candidates) {
    if (isFile(path)) {
      choice.path = path;
      return choice;
    }
  }
  const std::string none =
      "no General MIDI soundfont found (install timgm6mb-soundfont or fluid-soundfont-gm, "
      "or set TORAMI_SOUNDFONT to an .sf2 or .sf3 file); music is silent";
  choice.note = choice.note ? *choice.note + "; " + none : none;
  return choice;
}

namespace {
std::mutex soundFontLock;
std::string soundFontChosen;
}  // namespace

void rememberSoundFont(const std::string& path) {
  std::lock_guard hold(soundFontLock);
  soundFontChosen = path;
}

std::string soundFontInUse() {
  std::lock_guard hold(soundFontLock);
  return soundFontChosen;
}

}  // namespace platform
