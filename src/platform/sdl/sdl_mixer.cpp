#include "platform/sdl/sdl_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/instruments.h"
#include "platform/quiet_standard_error.h"
#include "platform/sdl/sound_system.h"
#include "platform/silent_mixer.h"

namespace platform::sdl {

void tell(const std::string& text) { std::fprintf(stderr, "torami: %s\n", text.c_str()); }

namespace {

constexpr int kWaveChannel = 0;
constexpr int kChunkSamples = 2048;

Mix_Music* loadFromMemory(const std::vector<uint8_t>& bytes) {
  prepareInstruments(bytes);
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  return rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
}

// Whether the bytes can be a Standard MIDI File at all: the rest is the synthesiser's to say.
bool looksLikeMidi(std::span<const uint8_t> bytes) {
  constexpr uint8_t kTag[] = {'M', 'T', 'h', 'd'};
  return bytes.size() >= 4 && std::equal(kTag, kTag + 4, bytes.begin());
}

/* Loading a piece takes tens of milliseconds (the synthesiser is made anew), so it is
   done on a worker thread while the script goes on: the title is drawn at once, and a
   start asked for before the copy is loaded begins when it is. A piece restarts by being
   loaded afresh too: a halted MIDI piece played again resumes where it was, and
   rewinding is not supported for MIDI. So the next copy is loaded on a worker thread while
   the piece plays, and the copy that has played is freed there: a restart only swaps
   them. In a page, which has no threads, every copy is loaded when it is needed. */
struct Piece {
  std::vector<uint8_t> bytes;
  std::mutex mutex;            // guards the four below against the thread that loads the first copy
  Mix_Music* music = nullptr;  // the copy that plays; null when the synthesiser refused it
  bool loaded = false;
  bool wanted = false;                // start the copy as soon as it is loaded
  std::optional<uint32_t> soundedAt;  // when the copy began, if it waited to begin
  bool started = false;
  std::future<Mix_Music*> next;  // the copy to play at the next start

  // Loads the first copy and then the one for the first restart, on a worker thread. A
  // start that waited begins then, by the clock `now` (or counts as begun, in silence,
  // when the synthesiser refused the piece).
  void loadFirst([[maybe_unused]] const TickSource& now) {
#ifdef __EMSCRIPTEN__
    music = loadFromMemory(bytes);
    loaded = true;
#else
    next = std::async(std::launch::async, [this, now]() -> Mix_Music* {
      Mix_Music* first = loadFromMemory(bytes);
      {
        std::lock_guard hold(mutex);
        music = first;
        loaded = true;
        if (wanted) {
          if (first) Mix_PlayMusic(first, 0);
          soundedAt = now();
        }
      }
      if (!first) tell("the synthesiser could not load a piece of music; it stays silent");
      return first ? loadFromMemory(bytes) : nullptr;
    });
#endif
  }
  // Frees `played` and loads the next copy, on a worker thread.
  void prepareNext(Mix_Music* played) {
#ifdef __EMSCRIPTEN__
    if (played) Mix_FreeMusic(played);
    return;
#endif
    next = std::async(std::launch::async, [this, played] {
      if (played) Mix_FreeMusic(played);
      return loadFromMemory(bytes);
    });
  }
  // The next copy (loaded here if none is on its way); the piece's copy is left alone.
  Mix_Music* takeNext() {
    if (!next.valid()) return loadFromMemory(bytes);
    return next.get();
  }
  ~Piece() {
    if (next.valid()) Mix_FreeMusic(next.get());
    Mix_FreeMusic(music);
  }
};

class SdlMixer final : public Mixer {
 public:
  SdlMixer(bool synthesiser, TickSource now) : synthesiser_(synthesiser), now_(std::move(now)) {}

  ~SdlMixer() override {
    stopWave();
    haltMusic();
    pieces_.clear();  // waits for the copies on their way
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  std::optional<MusicHandle> loadMusic(std::span<const uint8_t> smf) override {
    if (!looksLikeMidi(smf)) return std::nullopt;
    auto piece = std::make_unique<Piece>();
    piece->bytes.assign(smf.begin(), smf.end());
    if (synthesiser_) {
      piece->loadFirst(now_);
    } else {
      piece->loaded = true;  // no synthesiser: the piece keeps its time in silence
    }
    pieces_.emplace(next_, std::move(piece));
    return next_++;
  }

  void startMusic(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    Piece& piece = *found->second;
    haltMusic();  // the copy that played, if any, is no longer the mixer's
    std::lock_guard hold(piece.mutex);
    piece.soundedAt.reset();
    if (!piece.loaded) {
      piece.started = piece.wanted = true;
      return;
    }
    if (!piece.music) return;
    if (!piece.started) {
      piece.started = true;
      Mix_PlayMusic(piece.music, 0);
      if (!piece.next.valid()) piece.prepareNext(nullptr);
      return;
    }
    Mix_Music* played = piece.music;
    piece.music = piece.takeNext();
    if (!piece.music) {
      Mix_FreeMusic(played);
      return;
    }
    Mix_PlayMusic(piece.music, 0);
    piece.prepareNext(played);
  }

  std::optional<uint32_t> musicSoundedAt(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return std::nullopt;
    std::lock_guard hold(found->second->mutex);
    if (found->second->wanted && !found->second->soundedAt) return now_();
    return found->second->soundedAt;
  }

  void haltMusic() override {
    for (auto& [handle, piece] : pieces_) {
      std::lock_guard hold(piece->mutex);
      piece->wanted = false;
    }
    Mix_HaltMusic();
  }

  void freeMusic(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    {
      std::lock_guard hold(found->second->mutex);
      found->second->wanted = false;
    }
    pieces_.erase(found);  // waits for a copy on its way
  }

  bool playWave(const WaveSound& wave, bool loop) override {
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

  void setVolume(int percent) override {
    const int volume = MIX_MAX_VOLUME * std::clamp(percent, 0, 100) / 100;
    Mix_VolumeMusic(volume);
    Mix_Volume(kWaveChannel, volume);
  }

 private:
  bool synthesiser_;
  TickSource now_;
  MusicHandle next_ = 1;
  std::map<MusicHandle, std::unique_ptr<Piece>> pieces_;
  Mix_Chunk* chunk_ = nullptr;
};

bool openDevice() {
  QuietStandardError quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // The device takes exactly the mixer's format, which the wave reader's checks assume;
  // SDL converts to whatever the hardware wants as it plays.
  if (Mix_OpenAudioDevice(kMixerRate, MIX_DEFAULT_FORMAT, kMixerChannels, kChunkSamples, nullptr,
                          0) == 0)
    return true;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return false;
}

}  // namespace

std::unique_ptr<Mixer> openMixer(TickSource now) {
  if (!openDevice()) {
    tell(std::string("no audio device (") + SDL_GetError() + "); sound is silent");
    return std::make_unique<SilentMixer>(std::move(now));
  }
  Mix_AllocateChannels(1);
  return std::make_unique<SdlMixer>(openSynthesiser(), std::move(now));
}

}  // namespace platform::sdl
