#include "backends/sdl/rendered_music.h"

#include <SDL_mixer.h>

#include <atomic>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "backends/sdl/library_thread.h"
#include "backends/sdl/pcm_piece.h"
#include "platform/port.h"

namespace backends::sdl {

namespace {

// Blocks rendered by one job of the library thread (about 1.5 s of music in 20 ms or so):
// jobs for other pieces wait no longer than that.
constexpr int kBlocksPerJob = 4;

struct Piece {
  explicit Piece(std::span<const uint8_t> smf) : bytes(smf.begin(), smf.end()) {}

  PcmPiece pcm;
  // The library thread's alone; both are let go once the piece is rendered.
  std::vector<uint8_t> bytes;
  std::unique_ptr<platform::MidiRenderer> renderer;
  std::atomic<bool> freed = false;
  std::atomic<bool> refused = false;  // the synthesiser could not play it
  // Under the player's lock.
  StartTime start;
};

class RenderedMusic final : public MusicPlayer {
 public:
  explicit RenderedMusic(gui::TickSource now) : now_(std::move(now)) {
    Mix_HookMusic(&RenderedMusic::mix, this);
  }

  ~RenderedMusic() override {
    Mix_HookMusic(nullptr, nullptr);  // returns once no mix is under way
    for (auto& [handle, piece] : pieces_) piece->freed = true;
    library_.finish();
  }

  Handle load(std::span<const uint8_t> smf) override {
    auto piece = std::make_shared<Piece>(smf);
    library_.post([this, piece] { render(piece); });
    pieces_.emplace(next_, std::move(piece));
    return next_++;
  }

  void start(Handle music) override {
    const auto found = pieces_.find(music);
    std::lock_guard hold(lock_);
    stopPlaying();
    if (found == pieces_.end()) return;
    playing_ = found->second;
    at_ = 0;
    playing_->start.waiting = true;
    playing_->start.soundedAt.reset();
  }

  void halt() override {
    std::lock_guard hold(lock_);
    stopPlaying();
  }

  void free(Handle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return;
    std::shared_ptr<Piece> piece = std::move(found->second);
    pieces_.erase(found);
    piece->freed = true;
    std::lock_guard hold(lock_);
    if (playing_ == piece) stopPlaying();
  }

  std::optional<uint32_t> soundedAt(Handle music) override {
    const auto found = pieces_.find(music);
    if (found == pieces_.end()) return std::nullopt;
    std::lock_guard hold(lock_);
    return found->second->start.told(now_);
  }

  void setVolume(int volume) override { volume_ = volume; }

 private:
  void stopPlaying() {  // under lock_
    if (playing_) playing_->start.waiting = false;
    playing_.reset();
  }

  /* On the library thread: renders the piece's next blocks and posts a job for the rest,
     so that loading or rendering another piece waits for a few blocks only. */
  void render(const std::shared_ptr<Piece>& piece) {
    if (piece->freed) {
      piece->renderer.reset();
      return;
    }
    if (!piece->renderer &&
        !(piece->renderer = platform::openMidiRenderer(piece->bytes, gui::kMixerRate))) {
      platform::tell("the synthesiser could not load a piece of music; it stays silent");
      piece->refused = true;
      piece->pcm.finish();
      return;
    }
    for (int i = 0; i < kBlocksPerJob; ++i) {
      if (!renderBlock(*piece)) {
        piece->pcm.finish();
        piece->renderer.reset();  // the synthesiser and its soundfont
        piece->bytes = {};
        platform::returnFreedMemory();
        return;
      }
    }
    library_.post([this, piece] { render(piece); });
  }

  // Renders one block; false when it was the last.
  static bool renderBlock(Piece& piece) {
    std::vector<int16_t> samples(PcmPiece::kBlockFrames * 2);
    size_t frames = 0;
    while (frames < PcmPiece::kBlockFrames) {
      const size_t made = piece.renderer->render(std::span(samples).subspan(frames * 2));
      if (made == 0) break;
      frames += made;
    }
    samples.resize(frames * 2);
    if (frames > 0) piece.pcm.append(std::move(samples));
    return frames == PcmPiece::kBlockFrames;
  }

  /* On the audio thread: the music's part of the output, which the mixer gives silent.
     The device takes exactly the mixer's format: 16-bit, two channels. */
  static void SDLCALL mix(void* self, Uint8* stream, int bytes) {
    static_cast<RenderedMusic*>(self)->mixInto(
        std::span(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(bytes) / 2));
  }

  void mixInto(std::span<int16_t> out) {
    std::lock_guard hold(lock_);
    if (!playing_) return;
    Piece& piece = *playing_;
    if (piece.start.waiting) {
      if (!piece.refused && piece.pcm.framesReady() == 0 && !piece.pcm.finished()) return;
      piece.start.waiting = false;  // a refused piece keeps its time in silence
      piece.start.soundedAt = now_();
    }
    at_ += piece.pcm.read(at_, out, volume_);
    if (piece.pcm.finished() && at_ >= piece.pcm.framesReady()) playing_.reset();
  }

  gui::TickSource now_;
  Handle next_ = 1;
  std::map<Handle, std::shared_ptr<Piece>> pieces_;
  std::atomic<int> volume_ = MIX_MAX_VOLUME;
  std::mutex lock_;  // guards what the audio thread reads: the piece playing, and where
  std::shared_ptr<Piece> playing_;
  size_t at_ = 0;
  LibraryThread library_;  // renders the pieces
};

}  // namespace

std::unique_ptr<MusicPlayer> openRenderedMusic(gui::TickSource now) {
  return std::make_unique<RenderedMusic>(std::move(now));
}

}  // namespace backends::sdl
