#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/assets.h"
#include "platform/image_surface.h"
#include "platform/picture_loader.h"
#include "platform/sdl/error_box.h"
#include "platform/sdl/sdl_mixer.h"
#include "platform/sdl/window_system.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

constexpr uint32_t kFrameInterval = 15;  // present at most about once per display refresh
constexpr uint32_t kPollRest = 1;        // how long a polling script rests, in milliseconds

SDL_Surface* assetSurface(const char* name) {
  auto image = decodePicture(asset(name));
  return image ? toSurface(*image, Transparency::MagentaIsClear) : nullptr;
}

MouseButton buttonOf(Uint8 sdlButton) {
  if (sdlButton == SDL_BUTTON_LEFT) return MouseButton::Left;
  if (sdlButton == SDL_BUTTON_RIGHT) return MouseButton::Right;
  return MouseButton::Middle;
}

}  // namespace

int comfortableScale(int width, int height) {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  int s = std::min(usable.w * 9 / 10 / width, usable.h * 9 / 10 / height);
  return std::max(1, s);
}

SdlBackend::SdlBackend(int width, int height, int scale, bool fullscreen)
    : width_(width), height_(height), scale_(scale), fullscreen_(fullscreen) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (!sdl::startVideo())
    throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
  if (scale_ <= 0) scale_ = comfortableScale(width, height);
}

/* The window goes first, so a closed window disappears at once; the audio device may
   take a buffer's time to close. */
SdlBackend::~SdlBackend() {
  if (window_) SDL_DestroyWindow(window_);
  SDL_PumpEvents();  // lets the window system see the window gone now
  mixer_.reset();
  if (custom_) SDL_FreeCursor(custom_);
  if (arrow_) SDL_FreeCursor(arrow_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

uint32_t SdlBackend::ticks() { return static_cast<uint32_t>(SDL_GetTicks64()); }

void SdlBackend::setTitle(const std::string& title) {
  title_ = title;
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void SdlBackend::openWindow() {
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             width_ * scale_, height_ * scale_, flags);
  if (!window_) throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
  SDL_SetWindowMinimumSize(window_, width_, height_);
  if (SDL_Surface* icon = assetSurface("icon.png")) {
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }
  if (SDL_Surface* pointer = assetSurface("pointer.png")) {
    custom_ = SDL_CreateColorCursor(pointer, 1, 1);  // may be null on drivers without cursors
    SDL_FreeSurface(pointer);
  }
  arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
}

SdlBackend::Placement SdlBackend::placement(int areaWidth, int areaHeight) const {
  const double s =
      std::min(static_cast<double>(areaWidth) / width_, static_cast<double>(areaHeight) / height_);
  return {s, (areaWidth - width_ * s) / 2, (areaHeight - height_ * s) / 2};
}

std::optional<RawInput> SdlBackend::nextInput() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        return RawInput{RawInput::Close};
      case SDL_SYSWMEVENT:
        if (sdl::windowDestroyed(e, window_)) return RawInput{RawInput::Close};
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) return RawInput{RawInput::Close};
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          pending_ = frame_ != nullptr;
          flushIfDue(true);
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        if (!window_) break;
        RawInput in;
        in.type = e.type == SDL_MOUSEBUTTONDOWN ? RawInput::Press : RawInput::Release;
        in.button = buttonOf(e.button.button);
        in.doubleClick =
            in.type == RawInput::Press && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
        int w = 0, h = 0;
        SDL_GetWindowSize(window_, &w, &h);
        const Placement p = placement(w, h);
        in.x = static_cast<int>((e.button.x - p.x) / p.scale);
        in.y = static_cast<int>((e.button.y - p.y) / p.scale);
        return in;
      }
      default:
        break;
    }
  }
  return std::nullopt;
}

void SdlBackend::wait(Wait why, std::optional<uint32_t> deadline) {
  switch (why) {
    case Wait::Input:
      flushIfDue(true);
      if (!deadline) {
        SDL_WaitEvent(nullptr);
      } else if (const auto left = static_cast<int32_t>(*deadline - ticks()); left > 0) {
        SDL_WaitEventTimeout(nullptr, left);
      }
      return;
    case Wait::Poll:
      flushIfDue(true);
      SDL_WaitEventTimeout(nullptr, kPollRest);
      return;
    case Wait::Time:
      if (deadline) waitForTime(*deadline);
      return;
    case Wait::Blocked:
      flushIfDue(true);
      if (deadline) sdl::sleepUnlessClosed(*deadline, window_);
      return;
  }
}

/* A timed wait presents at the display's pace, so typing shows each character. */
void SdlBackend::waitForTime(uint32_t deadline) {
  flushIfDue(false);
  int32_t left = static_cast<int32_t>(deadline - ticks());
  if (pending_)
    left = std::min<int32_t>(left, static_cast<int32_t>(lastPresent_ + kFrameInterval - ticks()));
  if (left > 0) SDL_WaitEventTimeout(nullptr, left);
  flushIfDue(false);
}

/* The audio device opens with the first sound, so a game without music starts
   without it. */
Mixer& SdlBackend::mixer() {
  if (!mixer_) mixer_ = sdl::openMixer([this] { return ticks(); });
  return *mixer_;
}

void SdlBackend::present(const Image& frame) {
  if (!window_) openWindow();
  frame_ = &frame;
  pending_ = true;
  flushIfDue(false);
}

void SdlBackend::flushIfDue(bool force) {
  if (!pending_ || !window_) return;
  if (!force && static_cast<uint32_t>(ticks() - lastPresent_) < kFrameInterval) return;
  blit();
  pending_ = false;
  lastPresent_ = ticks();
}

/* Nearest-neighbour scaling into the window surface: whole-number scales replicate
   pixels exactly and never blur. */
void SdlBackend::blit() {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface || !frame_) return;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  const Placement p = placement(surface->w, surface->h);
  const double s = p.scale;
  int dw = static_cast<int>(width_ * s), dh = static_cast<int>(height_ * s);
  int ox = (surface->w - dw) / 2, oy = (surface->h - dh) / 2;
  std::vector<int> xmap(dw);
  for (int x = 0; x < dw; ++x) xmap[x] = std::min(width_ - 1, static_cast<int>(x / s));
  SDL_LockSurface(surface);
  const int bytesPerPixel = surface->format->BytesPerPixel;
  // Our pixels are the window's when it is 32-bit XRGB; otherwise each one is mapped.
  const bool same = surface->format->format == SDL_PIXELFORMAT_RGB888;
  for (int y = 0; y < dh; ++y) {
    const Color* src = frame_->row(std::min(height_ - 1, static_cast<int>(y / s)));
    Uint8* dst =
        static_cast<Uint8*>(surface->pixels) + (oy + y) * surface->pitch + ox * bytesPerPixel;
    for (int x = 0; x < dw; ++x) {
      const Color c = src[xmap[x]];
      const Uint32 v =
          same ? c : SDL_MapRGB(surface->format, (c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff);
      SDL_memcpy(dst + x * bytesPerPixel, &v, bytesPerPixel);
    }
  }
  SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurface(window_);
}

void SdlBackend::setCursor(Cursor c) {
  SDL_Cursor* want = c == Cursor::Custom && custom_ ? custom_ : arrow_;
  if (want) SDL_SetCursor(want);
}

void SdlBackend::showError(const std::string& title, const std::string& textUtf8) {
  sdl::showErrorBox(window_, scale_, title, lineBreaksAsNewlines(textUtf8), [this] {
    pending_ = frame_ != nullptr;
    flushIfDue(true);
  });
}

}  // namespace platform
