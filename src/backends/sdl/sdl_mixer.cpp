#include "backends/sdl/sdl_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "backends/sdl/library_thread.h"
#include "gui/silent_mixer.h"
#include "platform/port.h"

namespace backends::sdl {

namespace {

constexpr int kWaveChannel = 0;
constexpr int kChunkSamples = 2048;

Mix_Music* loadFromMemory(const std::vector<uint8_t>& bytes) {
  platform::prepareInstruments(bytes);
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  return rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
}

// Whether the bytes can be a Standard MIDI File at all: the rest is the synthesiser's to say.
bool looksLikeMidi(std::span<const uint8_t> bytes) {
  constexpr uint8_t kTag[] = {'M', 'T', 'h', 'd'};
  return bytes.size() >= 4 && std::equal(kTag, kTag + 4, bytes.begin());
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
  // Shared with the thread that asks, under the mixer's lock.
  bool waiting = false;               // a start is posted and has not sounded yet
  std::optional<uint32_t> soundedAt;  // when the last start sounded
  bool freed = false;
};

class SdlMixer final : public gui::Mixer {
 public:
  SdlMixer(bool synthesiser, gui::TickSource now)
      : synthesiser_(synthesiser), now_(std::move(now)) {}

  ~SdlMixer() override {
    stopWave();
    haltMusic();
    while (!pieces_.empty()) freeMusic(pieces_.begin()->first);
    library_.finish();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  std::optional<MusicHandle> loadMusic(std::span<const uint8_t> smf) override {
    if (!looksLikeMidi(smf)) return std::nullopt;
    auto piece = std::make_shared<Piece>();
    piece->bytes.assign(smf.begin(), smf.end());
    if (synthesiser_) {
      library_.post([this, piece] {
        {
          std::lock_guard hold(lock_);
          if (piece->freed) return;
        }
        piece->music = loadFromMemory(piece->bytes);
        if (!piece->music)
          platform::tell("the synthesiser could not load a piece of music; it stays silent");
      });
    }
    pieces_.emplace(next_, std::move(piece));
    return next_++;
  }

  void startMusic(MusicHandle music) override {
    haltMusic();  // the copy that played, if any, is no longer the mixer's
    const auto found = pieces_.find(music);
    if (found == pieces_.end() || !synthesiser_) return;
    std::shared_ptr<Piece> piece = found->second;
    uint64_t halts;
    {
      std::lock_guard hold(lock_);
      piece->waiting = true;
      piece->soundedAt.reset();
      halts = halts_;
    }
    library_.post([this, piece, halts] {
      {
        std::lock_guard hold(lock_);
        if (halts != halts_ || piece->freed) return;  // halted or freed before it sounded
      }
      play(*piece);
      std::lock_guard hold(lock_);
      piece->waiting = false;
      piece->soundedAt = now_();
    });
  }

  std::optional<uint32_t> musicSoundedAt(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return std::nullopt;
    std::lock_guard hold(lock_);
    if (found->second->waiting) return now_();
    return found->second->soundedAt;
  }

  void haltMusic() override {
    {
      std::lock_guard hold(lock_);
      ++halts_;
      for (auto& [handle, piece] : pieces_) piece->waiting = false;
    }
    library_.post([] { Mix_HaltMusic(); });
  }

  void freeMusic(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    std::shared_ptr<Piece> piece = std::move(found->second);
    pieces_.erase(found);
    {
      std::lock_guard hold(lock_);
      piece->freed = true;
      piece->waiting = false;
    }
    library_.post([piece] {
      Mix_FreeMusic(piece->music);  // halts it first when it plays
      Mix_FreeMusic(piece->spare);
      piece->music = piece->spare = nullptr;
    });
  }

  bool playWave(const gui::WaveSound& wave, bool loop) override {
    stopWave();
    SDL_RWops* rw = SDL_RWFromConstMem(wave.bytes.data(), static_cast<int>(wave.bytes.size()));
    chunk_ = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    // A wave without a single frame is played by playing nothing, as the silent mixer
    // does; the mixer itself refuses to start it.
    if (chunk_ && chunk_->alen == 0) {
      stopWave();
      return true;
    }
    if (chunk_ && Mix_PlayChannel(kWaveChannel, chunk_, loop ? -1 : 0) == kWaveChannel) return true;
    stopWave();
    return false;
  }

  void stopWave() override {
    Mix_HaltChannel(kWaveChannel);
    Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
  }

  bool wavePlaying() override { return chunk_ && Mix_Playing(kWaveChannel) != 0; }

  void setVolume(int musicPercent, int wavePercent) override {
    const int music = MIX_MAX_VOLUME * std::clamp(musicPercent, 0, 100) / 100;
    library_.post([music] { Mix_VolumeMusic(music); });
    Mix_Volume(kWaveChannel, MIX_MAX_VOLUME * std::clamp(wavePercent, 0, 100) / 100);
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

  bool synthesiser_;
  gui::TickSource now_;
  MusicHandle next_ = 1;
  std::map<MusicHandle, std::shared_ptr<Piece>> pieces_;
  Mix_Chunk* chunk_ = nullptr;
  std::mutex lock_;        // guards what pieces share with the library thread, and halts_
  uint64_t halts_ = 0;     // halts so far: a start posted before a halt does not sound
  LibraryThread library_;  // every call that loads, frees or plays a piece
};

bool openDevice() {
  platform::QuietStandardError quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // The device takes exactly the mixer's format, which the wave reader's checks assume;
  // SDL converts to whatever the hardware wants as it plays.
  if (Mix_OpenAudioDevice(gui::kMixerRate, MIX_DEFAULT_FORMAT, gui::kMixerChannels, kChunkSamples,
                          nullptr, 0) == 0)
    return true;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return false;
}

}  // namespace

std::unique_ptr<gui::Mixer> openMixer(gui::TickSource now) {
  if (!openDevice()) {
    platform::tell(std::string("no audio device (") + SDL_GetError() + "); sound is silent");
    return std::make_unique<gui::SilentMixer>(std::move(now));
  }
  Mix_AllocateChannels(1);
  return std::make_unique<SdlMixer>(platform::openSynthesiser(), std::move(now));
}

}  // namespace backends::sdl
