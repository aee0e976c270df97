#pragma once
// The backend of a real window: SDL's window surface with our own scaling (no OpenGL),
// mouse, keys, wheel and touch mapped to the 506 x 384 client area, full screen on F11 or
// Alt+Return, waits that block in SDL until the next event or deadline.
#include <deque>
#include <memory>
#include <string>

#include "gui/audio.h"
#include "gui/backend.h"
#include "gui/frame_scaler.h"
#include "gui/touch_gesture.h"
#include "platform/port.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;
struct SDL_Surface;
struct SDL_Rect;

namespace backends {

class SdlBackend : public gui::Backend {
 public:
  // scale 0: the largest scale that fits comfortably on the screen; a scale larger than
  // the screen holds is reduced to the largest that fits, with a line on standard error.
  SdlBackend(int width, int height, double scale, bool fullscreen);
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  uint32_t ticks() override;
  std::optional<gui::RawInput> nextInput() override;
  void wait(gui::Wait why, std::optional<uint32_t> deadline) override;
  void present(gui::FrameSource& source) override;
  void setTitle(const std::string& title) override;
  void setCursor(gui::Cursor c) override;
  int ask(const gui::MessageBox& box) override;
  gui::Mixer& mixer() override;
  void setFullscreen(bool on) override;
  void watchFile(const std::filesystem::path& file) override;
  void expectMedia(const engine::MediaNamed& named) override;

 private:
  // Where the scaled frame lies in an area of the given size, centred.
  struct Placement {
    double scale;
    double x, y;
  };
  Placement placement(int areaWidth, int areaHeight) const;
  formats::Point toClient(double windowX, double windowY) const;
  void openWindow();
  std::optional<gui::RawInput> translate(const SDL_Event& e);
  std::optional<gui::RawInput> keyInput(const SDL_Event& e);
  std::optional<gui::RawInput> gamepadInput(const SDL_Event& e);
  void toggleFullscreen();
  void waitForEvent(std::optional<uint32_t> deadline);
  void waitForTime(uint32_t deadline);
  void startGamepads();
  void blit();
  void scaleArea(SDL_Surface* surface, const formats::Image& frame, const SDL_Rect& area);
  SDL_Rect scaledArea(const formats::Rect& r) const;
  void redrawWhole() {
    whole_ = true;
    pending_ = frame_ != nullptr;
  }
  void flushIfDue(bool force);

  int width_, height_;
  double scale_;
  bool fullscreen_;
  bool gamepadsStarted_ = false;
  std::string title_;
  SDL_Window* window_ = nullptr;
  SDL_Cursor* custom_ = nullptr;
  SDL_Cursor* arrow_ = nullptr;
  gui::FrameSource* frame_ = nullptr;
  bool pending_ = false;
  bool whole_ = true;  // the whole window is drawn at the next present, borders included
  uint32_t lastPresent_ = 0;
  gui::FrameScaler scaler_;
  int scaledX_ = 0, scaledY_ = 0;  // where the scaled frame lies in the window
  gui::TouchGesture touch_;
  int stickX_ = 0, stickY_ = 0;  // the left stick as a D-pad: -1, 0 or 1 on each axis
  std::deque<gui::RawInput> queued_;
  std::unique_ptr<gui::Mixer> mixer_;
  // The script file: its watch posts an event of this type when it changes.
  std::filesystem::path watched_;
  std::unique_ptr<platform::FileWatch> watch_;
  uint32_t fileChanged_ = 0;
};

// The largest scale, in steps of a half, at which a width x height frame fits in the
// given share of the primary display's usable area; at least 1.
double fittingScale(int width, int height, double share);

}  // namespace backends
