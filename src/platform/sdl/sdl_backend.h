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
  void wait(Wait why, std::optional<uint32_t> deadline) override;
  void present(const Image& frame) override;
  void setTitle(const std::string& title) override;
  void setCursor(Cursor c) override;
  void showError(const std::string& title, const std::string& textUtf8) override;
  Mixer& mixer() override;

 private:
  // Where the scaled frame lies in an area of the given size: the largest factor that
  // fits, keeping the aspect, centred.
  struct Placement {
    double scale;
    double x, y;
  };
  Placement placement(int areaWidth, int areaHeight) const;
  void openWindow();
  void waitForTime(uint32_t deadline);
  void blit();
  void flushIfDue(bool force);

  int width_, height_, scale_;
  bool fullscreen_;
  std::string title_;
  SDL_Window* window_ = nullptr;
  SDL_Cursor* custom_ = nullptr;
  SDL_Cursor* arrow_ = nullptr;
  const Image* frame_ = nullptr;
  bool pending_ = false;
  uint32_t lastPresent_ = 0;
  std::unique_ptr<Mixer> mixer_;
};

// The whole-number scale that fits comfortably on the primary display.
int comfortableScale(int width, int height);

}  // namespace platform
