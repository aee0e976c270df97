// Prints the patch files (one a line, as the configuration names them, with its folder in
// front) that the pieces among FILES play, as the page would fetch them: a published
// game's page carries only these. Files that are not Standard MIDI Files need none.
// Usage: midi_patches TIMIDITY_CFG FILE...
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/web/midi_instruments.h"

namespace {

std::vector<uint8_t> readWhole(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: midi_patches TIMIDITY_CFG FILE...\n");
    return 2;
  }
  const std::vector<uint8_t> cfgBytes = readWhole(argv[1]);
  if (cfgBytes.empty()) {
    std::fprintf(stderr, "midi_patches: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string cfg(cfgBytes.begin(), cfgBytes.end());
  platform::midi::Instruments needed;
  for (int i = 2; i < argc; ++i) {
    const platform::midi::Instruments piece = platform::midi::instrumentsOf(readWhole(argv[i]));
    needed.programs.insert(piece.programs.begin(), piece.programs.end());
    needed.drums.insert(piece.drums.begin(), piece.drums.end());
  }
  std::set<std::string> printed;
  for (const std::string& file : platform::midi::patchFiles(cfg, needed))
    if (printed.insert(file).second) std::printf("%s\n", file.c_str());
  return 0;
}
