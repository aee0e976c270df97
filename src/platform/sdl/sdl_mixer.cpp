#include "platform/sdl/sdl_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <memory>
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

/* A piece restarts by being loaded afresh: a halted MIDI piece played again
   resumes where it was, and rewinding is not supported for MIDI. Loading takes tens of
   milliseconds (the synthesiser is made anew), so the next copy is loaded on a worker
   thread while the piece plays, and the copy that has played is freed there too: a
   restart only swaps them. */
struct Piece {
  std::vector<uint8_t> bytes;
  Mix_Music* music = nullptr;  // null when the synthesiser is missing: silent
  bool started = false;
  std::future<Mix_Music*> next;  // the copy to play at the next start

  // Frees `played` and loads the next copy, on a worker thread (in a page, which has no
  // threads, the next copy is loaded at the restart).
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
  }
};

class SdlMixer final : public Mixer {
 public:
  explicit SdlMixer(bool synthesiser) : synthesiser_(synthesiser) {}

  ~SdlMixer() override {
    stopWave();
    Mix_HaltMusic();
    for (auto& [handle, piece] : pieces_) Mix_FreeMusic(piece->music);
    pieces_.clear();  // waits for the copies on their way
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  std::optional<MusicHandle> loadMusic(std::span<const uint8_t> smf) override {
    auto piece = std::make_unique<Piece>();
    piece->bytes.assign(smf.begin(), smf.end());
    if (synthesiser_) {
      piece->music = loadFromMemory(piece->bytes);
      if (!piece->music) return std::nullopt;
    }
    pieces_.emplace(next_, std::move(piece));
    return next_++;
  }

  void startMusic(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end() || !found->second->music) return;
    Piece& piece = *found->second;
    if (piece.started) {
      Mix_HaltMusic();  // the copy that played is no longer the mixer's
      Mix_Music* played = piece.music;
      piece.music = piece.takeNext();
      if (!piece.music) {
        Mix_FreeMusic(played);
        return;
      }
      Mix_PlayMusic(piece.music, 0);
      piece.prepareNext(played);
      return;
    }
    piece.started = true;
    Mix_PlayMusic(piece.music, 0);
    piece.prepareNext(nullptr);
  }

  void haltMusic() override { Mix_HaltMusic(); }

  void freeMusic(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    Mix_FreeMusic(found->second->music);
    pieces_.erase(found);
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
  return std::make_unique<SdlMixer>(openSynthesiser());
}

}  // namespace platform::sdl
