/* Pieces are rendered with FluidSynth and the soundfont the mixer's synthesiser was given,
   set up as that synthesiser sets itself up (the same rate, and the gain it plays at full
   music volume), so a rendered piece sounds as the mixer would have played it. The player
   keeps time by the frames rendered, so rendering runs as fast as the processor allows;
   the thread that renders gives way to the game's own threads, and renders alone (the
   synthesiser's helper threads would only spin beside it while the soundfont loads). */
#include <dlfcn.h>
#include <fluidsynth.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/port.h"
#include "platform/soundfont.h"

namespace platform {

const bool kRendersMidi = true;

namespace {

constexpr float kFullVolumeGain = 1.2f;

class FluidRenderer final : public MidiRenderer {
 public:
  FluidRenderer() : settings_(new_fluid_settings()) {}
  FluidRenderer(const FluidRenderer&) = delete;
  FluidRenderer& operator=(const FluidRenderer&) = delete;

  ~FluidRenderer() override {
    if (player_) delete_fluid_player(player_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
  }

  bool open(std::span<const uint8_t> smf, int rate, const std::string& soundFont) {
    if (!settings_ || soundFont.empty()) return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", rate);
    fluid_settings_setint(settings_, "synth.threadsafe-api", 0);  // one thread at a time
    synth_ = new_fluid_synth(settings_);
    if (!synth_ || fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) return false;
    fluid_synth_set_gain(synth_, kFullVolumeGain);
    player_ = new_fluid_player(synth_);
    return player_ && fluid_player_add_mem(player_, smf.data(), smf.size()) == FLUID_OK &&
           fluid_player_play(player_) == FLUID_OK;
  }

  size_t render(std::span<int16_t> out) override {
    if (fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING) return 0;
    const int frames = static_cast<int>(out.size() / 2);
    if (fluid_synth_write_s16(synth_, frames, out.data(), 0, 2, out.data(), 1, 2) != FLUID_OK)
      return 0;
    return static_cast<size_t>(frames);
  }

 private:
  fluid_settings_t* settings_;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
};

void renderInTheBackground() {
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
  using SetThreads = void (*)(int);
  if (const auto setThreads =
          reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "omp_set_num_threads")))
    setThreads(1);
}

}  // namespace

std::unique_ptr<MidiRenderer> openMidiRenderer(std::span<const uint8_t> smf, int rate) {
  renderInTheBackground();
  auto renderer = std::make_unique<FluidRenderer>();
  if (!renderer->open(smf, rate, soundFontInUse())) return nullptr;
  return renderer;
}

}  // namespace platform
