#include "backends/sdl/synth_music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "backends/sdl/library_thread.h"
#include "platform/port.h"

namespace backends::sdl {

namespace {

Mix_Music* loadFromMemory(const std::vector<uint8_t>& bytes) {
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  return rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
}

/* A piece and its copies. Loading a copy takes tens of milliseconds (the synthesiser is
   made anew), so copies are loaded on the library thread while the script goes on: the
   title is drawn at once, and a start asked for before the copy is loaded begins when it
   is. A piece restarts by being loaded afresh too: a halted MIDI piece played again resumes
   where it was, and rewinding is not supported for MIDI. So a spare copy is loaded after
   each start and a restart swaps it in; in a page, which has no threads, the spare is
   loaded when it is needed. */
struct Piece {
  std::vector<uint8_t> bytes;
  // The library thread's alone.
  Mix_Music* music = nullptr;  // the copy that plays; null when the synthesiser refused it
  Mix_Music* spare = nullptr;  // the copy for the next start
  bool started = false;
  // Shared with the thread that asks, under the player's lock.
  StartTime start;
  bool freed = false;
};

class SynthMusic final : public MusicPlayer {
 public:
  explicit SynthMusic(gui::TickSource now) : now_(std::move(now)) {}

  ~SynthMusic() override {
    halt();
    while (!pieces_.empty()) free(pieces_.begin()->first);
    library_.finish();
  }

  Handle load(std::span<const uint8_t> smf) override {
    auto piece = std::make_shared<Piece>();
    piece->bytes.assign(smf.begin(), smf.end());
    // Before the load is posted: a page fetches the instruments meanwhile, and the load (and
    // what is posted after it) waits for them.
    platform::prepareInstruments(piece->bytes);
    library_.post([this, piece] {
      {
        std::lock_guard hold(lock_);
        if (piece->freed) return;
      }
      piece->music = loadFromMemory(piece->bytes);
      if (!piece->music)
        platform::tell("the synthesiser could not load a piece of music; it stays silent");
    });
    pieces_.emplace(next_, std::move(piece));
    return next_++;
  }

  void start(Handle music) override {
    halt();  // the copy that played, if any, is no longer the mixer's
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    std::shared_ptr<Piece> piece = found->second;
    uint64_t halts;
    {
      std::lock_guard hold(lock_);
      piece->start.waiting = true;
      piece->start.soundedAt.reset();
      halts = halts_;
    }
    library_.post([this, piece, halts] {
      {
        std::lock_guard hold(lock_);
        if (halts != halts_ || piece->freed) return;  // halted or freed before it sounded
      }
      play(*piece);
      std::lock_guard hold(lock_);
      piece->start.waiting = false;
      piece->start.soundedAt = now_();
    });
  }

  std::optional<uint32_t> soundedAt(Handle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return std::nullopt;
    std::lock_guard hold(lock_);
    return found->second->start.told(now_);
  }

  void halt() override {
    {
      std::lock_guard hold(lock_);
      ++halts_;
      for (auto& [handle, piece] : pieces_) piece->start.waiting = false;
    }
    library_.post([] { Mix_HaltMusic(); });
  }

  void free(Handle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    std::shared_ptr<Piece> piece = std::move(found->second);
    pieces_.erase(found);
    {
      std::lock_guard hold(lock_);
      piece->freed = true;
      piece->start.waiting = false;
    }
    library_.post([piece] {
      Mix_FreeMusic(piece->music);  // halts it first when it plays
      Mix_FreeMusic(piece->spare);
      piece->music = piece->spare = nullptr;
    });
  }

  void setVolume(int volume) override {
    library_.post([volume] { Mix_VolumeMusic(volume); });
  }

 private:
  /* On the library thread: plays the piece from its beginning, swapping in the spare copy
     when the piece has played before, and loads the next spare. */
  static void play(Piece& piece) {
    if (!piece.music) return;  // the synthesiser refused it: it keeps its time in silence
    Mix_Music* played = nullptr;
    if (piece.started) {
      Mix_Music* fresh = piece.spare ? piece.spare : loadFromMemory(piece.bytes);
      piece.spare = nullptr;
      if (!fresh) return;
      played = std::exchange(piece.music, fresh);
    }
    piece.started = true;
    Mix_PlayMusic(piece.music, 0);
    Mix_FreeMusic(played);
    if (platform::kHasThreads) piece.spare = loadFromMemory(piece.bytes);
  }

  gui::TickSource now_;
  Handle next_ = 1;
  std::map<Handle, std::shared_ptr<Piece>> pieces_;
  std::mutex lock_;        // guards what pieces share with the library thread, and halts_
  uint64_t halts_ = 0;     // halts so far: a start posted before a halt does not sound
  LibraryThread library_;  // every call that loads, frees or plays a piece
};

}  // namespace

std::unique_ptr<MusicPlayer> openSynthMusic(gui::TickSource now) {
  return std::make_unique<SynthMusic>(std::move(now));
}

}  // namespace backends::sdl
