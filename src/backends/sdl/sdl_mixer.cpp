#include "backends/sdl/sdl_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "backends/sdl/rendered_music.h"
#include "backends/sdl/synth_music.h"
#include "gui/silent_mixer.h"
#include "platform/port.h"

namespace backends::sdl {

namespace {

constexpr int kWaveChannel = 0;
constexpr int kChunkSamples = 2048;

// Whether the bytes can be a Standard MIDI File at all: the rest is the synthesiser's to say.
bool looksLikeMidi(std::span<const uint8_t> bytes) {
  constexpr uint8_t kTag[] = {'M', 'T', 'h', 'd'};
  return bytes.size() >= 4 && std::equal(kTag, kTag + 4, bytes.begin());
}

class SdlMixer final : public gui::Mixer {
 public:
  // `music` is null when music is silent.
  explicit SdlMixer(std::unique_ptr<MusicPlayer> music) : music_(std::move(music)) {}

  ~SdlMixer() override {
    stopWave();
    music_.reset();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  std::optional<MusicHandle> loadMusic(std::span<const uint8_t> smf) override {
    if (!looksLikeMidi(smf)) return std::nullopt;
    if (!music_) return next_++;  // no synthesiser: the piece keeps its time in silence
    return music_->load(smf);
  }

  void startMusic(MusicHandle music) override {
    if (music_) music_->start(music);
  }

  std::optional<uint32_t> musicSoundedAt(MusicHandle music) override {
    return music_ ? music_->soundedAt(music) : std::nullopt;
  }

  void haltMusic() override {
    if (music_) music_->halt();
  }

  void freeMusic(MusicHandle music) override {
    if (music_) music_->free(music);
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
    if (music_) music_->setVolume(MIX_MAX_VOLUME * std::clamp(musicPercent, 0, 100) / 100);
    Mix_Volume(kWaveChannel, MIX_MAX_VOLUME * std::clamp(wavePercent, 0, 100) / 100);
  }

 private:
  std::unique_ptr<MusicPlayer> music_;
  MusicHandle next_ = 1;
  Mix_Chunk* chunk_ = nullptr;
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

std::unique_ptr<gui::Mixer> openMixer(gui::TickSource now, bool renderAhead) {
  if (!openDevice()) {
    platform::tell(std::string("no audio device (") + SDL_GetError() + "); sound is silent");
    return std::make_unique<gui::SilentMixer>(std::move(now));
  }
  Mix_AllocateChannels(1);
  if (!platform::openSynthesiser()) return std::make_unique<SdlMixer>(nullptr);
  return std::make_unique<SdlMixer>(renderAhead && platform::kRendersMidi
                                        ? openRenderedMusic(std::move(now))
                                        : openSynthMusic(std::move(now)));
}

}  // namespace backends::sdl
