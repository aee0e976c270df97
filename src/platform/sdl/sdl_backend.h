#pragma once
// The backend of a real window: SDL's window surface with our own whole-number scaling
// (no OpenGL), mouse input mapped back to the 506 x 384 client area, waits that block in
// SDL until the next event or deadline.
#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/backend.h"

struct SDL_Window;
struct SDL_Cursor;

namespace platform {

class SdlBackend : public Backend {
 public:
  // scale 0: the largest whole number that fits comfortably on the screen.
  SdlBackend(int width, int height, int scale, bool fullscreen);
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  uint32_t ticks() override;
  std::optional<RawInput> nextInput() override;
  void waitIdle(std::optional<uint32_t> deadline) override;
  void waitUntil(uint32_t deadline) override;
  void showWindow(const std::string& caption) override;
  void present(const Image& frame) override;
  void setCursor(Cursor c) override;
  void showError(const std::string& title, const std::string& textUtf8) override;
  void loopPass(Form& form) override;
  Mixer& mixer() override;
  void block(uint32_t ms) override;
  int scale() const { return scale_; }

 private:
  void blit();
  bool toClient(int wx, int wy, int& cx, int& cy) const;
  void flushIfDue(bool force);

  int width_, height_, scale_;
  bool fullscreen_;
  SDL_Window* window_ = nullptr;
  SDL_Cursor* custom_ = nullptr;
  SDL_Cursor* arrow_ = nullptr;
  Cursor cursor_ = Cursor::Default;
  const Image* frame_ = nullptr;
  bool pending_ = false;
  uint32_t lastPresent_ = 0;
  long passes_ = 0;
  std::unique_ptr<Mixer> mixer_;
};

// The whole-number scale that fits comfortably on the primary display.
int comfortableScale(int width, int height);

}  // namespace platform
