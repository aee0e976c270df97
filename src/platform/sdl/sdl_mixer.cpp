#include "platform/sdl/sdl_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/instruments.h"
#include "platform/quiet_standard_error.h"
#include "platform/silent_mixer.h"
#include "platform/soundfont.h"

namespace platform::sdl {
namespace {

constexpr int kWaveChannel = 0;
constexpr int kChunkSamples = 2048;

void tell(const std::string& text) { std::fprintf(stderr, "torami: %s\n", text.c_str()); }

Mix_Music* loadFromMemory(const std::vector<uint8_t>& bytes) {
  prepareInstruments(bytes);
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  return rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
}

/* A piece restarts by being loaded afresh: a halted MIDI piece played again
   resumes where it was, and rewinding is not supported for MIDI. */
struct Piece {
  std::vector<uint8_t> bytes;
  Mix_Music* music = nullptr;  // null when the synthesiser is missing: silent
  bool started = false;
};

class SdlMixer final : public Mixer {
 public:
  explicit SdlMixer(bool synthesiser) : synthesiser_(synthesiser) {}

  ~SdlMixer() override {
    stopWave();
    Mix_HaltMusic();
    for (auto& [handle, piece] : pieces_) Mix_FreeMusic(piece.music);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  std::optional<MusicHandle> loadMusic(std::span<const uint8_t> smf) override {
    Piece piece{{smf.begin(), smf.end()}, nullptr, false};
    if (synthesiser_) {
      piece.music = loadFromMemory(piece.bytes);
      if (!piece.music) return std::nullopt;
    }
    pieces_.emplace(next_, std::move(piece));
    return next_++;
  }

  void startMusic(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end() || !found->second.music) return;
    Piece& piece = found->second;
    if (piece.started) {
      Mix_FreeMusic(piece.music);
      piece.music = loadFromMemory(piece.bytes);
      if (!piece.music) return;
    }
    piece.started = true;
    Mix_PlayMusic(piece.music, 0);
  }

  void haltMusic() override { Mix_HaltMusic(); }

  void freeMusic(MusicHandle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    Mix_FreeMusic(found->second.music);
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
  std::map<MusicHandle, Piece> pieces_;
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

/* The soundfont is set before the first MIDI load, and checked here: the
   synthesiser accepts a missing path and only fails at the first load, with a
   message about a different synthesiser's configuration. */
bool openSynthesiser() {
  const SoundFontChoice choice =
      findSoundFont(std::getenv("TORAMI_SOUNDFONT"), soundFontCandidates());
  if (choice.note) tell(*choice.note);
  if (!choice.path) return false;
  if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) {
    tell(std::string("no MIDI synthesiser (") + Mix_GetError() + "); music is silent");
    return false;
  }
  if (Mix_SetSoundFonts(choice.path->c_str()) != 0) return true;
  tell("the MIDI synthesiser does not take the soundfont " + *choice.path + "; music is silent");
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
