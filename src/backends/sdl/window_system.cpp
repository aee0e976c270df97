#include "backends/sdl/window_system.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "engine/run_end.h"
#include "platform/port.h"

namespace backends::sdl {
namespace {

constexpr Uint32 kCloseCheckMs = 10;  // how often a held thread looks for a close

bool peek(Uint32 type, std::vector<SDL_Event>& out) {
  const int count = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, type, type);
  if (count <= 0) return false;
  out.resize(static_cast<size_t>(count));
  out.resize(static_cast<size_t>(
      std::max(0, SDL_PeepEvents(out.data(), count, SDL_PEEKEVENT, type, type))));
  return !out.empty();
}

bool closeQueued(SDL_Window* window) {
  SDL_PumpEvents();
  std::vector<SDL_Event> events;
  if (peek(SDL_QUIT, events)) return true;
  if (peek(SDL_WINDOWEVENT, events))
    for (const SDL_Event& e : events)
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) return true;
  if (peek(SDL_SYSWMEVENT, events))
    for (const SDL_Event& e : events)
      if (platform::windowDestroyed(e, window)) return true;
  return false;
}

}  // namespace

void sleepUnlessClosed(uint32_t deadline, SDL_Window* window) {
  for (;;) {
    if (closeQueued(window)) throw engine::GameEnd(engine::kExitOk, engine::EndReason::Close);
    const auto left = static_cast<int32_t>(deadline - static_cast<uint32_t>(SDL_GetTicks64()));
    if (left <= 0) return;
    SDL_Delay(std::min<Uint32>(static_cast<Uint32>(left), kCloseCheckMs));
  }
}

}  // namespace backends::sdl
