#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>

#include "platform/assets.h"
#include "platform/picture_loader.h"
#include "platform/sdl/sdl_mixer.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

constexpr uint32_t kFrameInterval = 15;  // present at most about once per display refresh

SDL_Surface* surfaceOf(const Image& image) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, image.width(), image.height(), 32,
                                                  SDL_PIXELFORMAT_ARGB8888);
  if (!s) return nullptr;
  for (int y = 0; y < image.height(); ++y) {
    Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < image.width(); ++x) {
      Color c = image.at(x, y);
      // Pure magenta marks the transparent pixels of the pointer image.
      row[x] = c == rgb(255, 0, 255) ? 0 : (c | 0xff000000u);
    }
  }
  return s;
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
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
  if (scale_ <= 0) scale_ = comfortableScale(width, height);
}

SdlBackend::~SdlBackend() {
  mixer_.reset();
  if (custom_) SDL_FreeCursor(custom_);
  if (arrow_) SDL_FreeCursor(arrow_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

uint32_t SdlBackend::ticks() { return static_cast<uint32_t>(SDL_GetTicks64()); }

void SdlBackend::showWindow(const std::string& caption) {
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             width_ * scale_, height_ * scale_, flags);
  if (!window_) throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
  SDL_SetWindowMinimumSize(window_, width_, height_);
  if (auto icon = decodePicture(asset("icon.png"))) {
    if (SDL_Surface* s = surfaceOf(*icon)) {
      SDL_SetWindowIcon(window_, s);
      SDL_FreeSurface(s);
    }
  }
  if (auto pointer = decodePicture(asset("pointer.png"))) {
    if (SDL_Surface* s = surfaceOf(*pointer)) {
      custom_ = SDL_CreateColorCursor(s, 1, 1);  // may be null on drivers without cursors
      SDL_FreeSurface(s);
    }
  }
  arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
}

/* Window coordinates to client coordinates: the frame is scaled by the largest factor
   that fits, keeping its aspect, and centred. */
bool SdlBackend::toClient(int wx, int wy, int& cx, int& cy) const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  double s = std::min(static_cast<double>(w) / width_, static_cast<double>(h) / height_);
  double ox = (w - width_ * s) / 2, oy = (h - height_ * s) / 2;
  cx = static_cast<int>((wx - ox) / s);
  cy = static_cast<int>((wy - oy) / s);
  return true;
}

std::optional<RawInput> SdlBackend::nextInput() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        return RawInput{RawInput::Close};
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
        in.button = e.button.button == SDL_BUTTON_LEFT    ? 1
                    : e.button.button == SDL_BUTTON_RIGHT ? 2
                                                          : 4;
        in.doubleClick =
            in.type == RawInput::Press && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
        toClient(e.button.x, e.button.y, in.x, in.y);
        return in;
      }
      default:
        break;
    }
  }
  return std::nullopt;
}

void SdlBackend::waitIdle(std::optional<uint32_t> deadline) {
  passes_ = 0;
  flushIfDue(true);
  if (!deadline) {
    SDL_WaitEvent(nullptr);
    return;
  }
  int32_t left = static_cast<int32_t>(*deadline - ticks());
  if (left > 0) SDL_WaitEventTimeout(nullptr, left);
}

void SdlBackend::waitUntil(uint32_t deadline) {
  flushIfDue(false);
  int32_t left = static_cast<int32_t>(deadline - ticks());
  if (pending_)
    left = std::min<int32_t>(left, static_cast<int32_t>(lastPresent_ + kFrameInterval - ticks()));
  if (left > 0) SDL_WaitEventTimeout(nullptr, left);
  flushIfDue(false);
}

/* A script that polls a flag in a loop: after many passes without a wait, give the
   processor a moment so the window stays light on it. */
void SdlBackend::loopPass(Form&) {
  if (++passes_ < 10000) return;
  passes_ = 0;
  flushIfDue(true);
  SDL_WaitEventTimeout(nullptr, 1);
}

/* The audio device opens with the first sound, so a game without music starts
   without it. */
Mixer& SdlBackend::mixer() {
  if (!mixer_) mixer_ = sdl::openMixer([this] { return ticks(); });
  return *mixer_;
}

void SdlBackend::block(uint32_t ms) {
  flushIfDue(true);
  SDL_Delay(ms);
}

void SdlBackend::present(const Image& frame) {
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
  double s =
      std::min(static_cast<double>(surface->w) / width_, static_cast<double>(surface->h) / height_);
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
  cursor_ = c;
  SDL_Cursor* want = c == Cursor::Custom && custom_ ? custom_ : arrow_;
  if (want) SDL_SetCursor(want);
}

void SdlBackend::showError(const std::string& title, const std::string& textUtf8) {
  std::string text = lineBreaksAsNewlines(textUtf8);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), window_);
}

}  // namespace platform
