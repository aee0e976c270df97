// Prints how long the calling thread is held when a finished piece of music starts again
// (the music timer's restart), with SDL2_mixer on the audio driver SDL picks (set
// SDL_AUDIODRIVER=dummy where there is no sound card).
// Usage: music_restart_bench [piece.MID] [restarts]
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "backends/sdl/sdl_mixer.h"

int main(int argc, char** argv) {
  const char* file = argc > 1 ? argv[1] : "demo/TITLE.MID";
  const int restarts = argc > 2 ? std::atoi(argv[2]) : 10;
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> piece((std::istreambuf_iterator<char>(in)), {});
  if (piece.empty() || SDL_Init(0) != 0) {
    std::fprintf(stderr, "cannot read %s\n", file);
    return 2;
  }
  auto mixer = backends::sdl::openMixer([] { return static_cast<uint32_t>(SDL_GetTicks64()); });
  const auto handle = mixer->loadMusic(piece);
  if (!handle) return 2;
  std::vector<double> held;
  for (int i = 0; i <= restarts; ++i) {
    const auto start = std::chrono::steady_clock::now();
    mixer->startMusic(*handle);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (i > 0) held.push_back(took.count());  // the first start is the first play, not a restart
    if (std::getenv("TORAMI_BENCH_EACH")) std::printf("start %d: %.2f ms\n", i, took.count());
    SDL_Delay(1000);  // a piece plays for a second at least before it restarts
  }
  std::sort(held.begin(), held.end());
  std::printf(
      "music restart holds the thread: min %.2f ms, median %.2f ms, max %.2f ms (%zu restarts)\n",
      held.front(), held[held.size() / 2], held.back(), held.size());
  mixer.reset();
  SDL_Quit();
  return 0;
}
