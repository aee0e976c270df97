// The wave reader in front of the mixer: any bytes either are refused or give a format
// the mixer's own loader and converter take, within the memory the reader promises. Each
// accepted wave is played through SDL2_mixer on SDL's dummy audio device, the very path
// of a window (the data chunk trimmed to the bytes present, as the sound player does), so
// a wave the reader lets through that the library cannot take shows here.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "backends/sdl/sdl_mixer.h"
#include "formats/wave_length.h"
#include "fuzz/expect.h"
#include "gui/silent_mixer.h"

namespace {

std::unique_ptr<gui::Mixer> mixer;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  mixer = backends::sdl::openMixer([] { return SDL_GetTicks(); });
  FUZZ_EXPECT(dynamic_cast<gui::SilentMixer*>(mixer.get()) == nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const auto wave = formats::readWave(bytes);
  if (!wave) return 0;
  FUZZ_EXPECT(wave->rate >= formats::kMinWaveRate && wave->rate <= formats::kMaxWaveRate);
  FUZZ_EXPECT(wave->channels >= 1 && wave->channels <= 8);
  FUZZ_EXPECT(wave->convertedBytes <= formats::kMaxConvertedWaveBytes);
  FUZZ_EXPECT(formats::waveLengthMs(bytes) == wave->lengthMs);
  std::vector<uint8_t> trimmed(bytes.begin(), bytes.end());
  formats::trimDataChunk(trimmed, *wave);
  FUZZ_EXPECT(formats::readWave(trimmed)->lengthMs == wave->lengthMs);
  const bool played = mixer->playWave({trimmed, wave->lengthMs}, false);
  if (!played) std::fprintf(stderr, "the mixer says: %s\n", SDL_GetError());
  FUZZ_EXPECT(played);
  mixer->stopWave();
  return 0;
}
