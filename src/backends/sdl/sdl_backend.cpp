#include "backends/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "backends/sdl/error_box.h"
#include "backends/sdl/sdl_mixer.h"
#include "backends/sdl/window_system.h"
#include "formats/image_surface.h"
#include "formats/picture_loader.h"
#include "gui/assets.h"
#include "platform/port.h"
#include "platform/text_codec.h"

namespace backends {
namespace {

constexpr uint32_t kFrameInterval = 15;  // present at most about once per display refresh
constexpr uint32_t kPollRest = 1;        // how long a polling script rests, in milliseconds
constexpr double kComfortableShare = 0.9;

SDL_Surface* assetSurface(const char* name) {
  auto image = formats::decodePicture(gui::asset(name));
  return image ? formats::toSurface(*image, formats::Transparency::MagentaIsClear) : nullptr;
}

gui::MouseButton buttonOf(Uint8 sdlButton) {
  if (sdlButton == SDL_BUTTON_LEFT) return gui::MouseButton::Left;
  if (sdlButton == SDL_BUTTON_RIGHT) return gui::MouseButton::Right;
  return gui::MouseButton::Middle;
}

bool isModifier(SDL_Keycode k) {
  return k == SDLK_LCTRL || k == SDLK_RCTRL || k == SDLK_LSHIFT || k == SDLK_RSHIFT ||
         k == SDLK_LALT || k == SDLK_RALT;
}

// Held keys repeat only where repeating is useful: moving the mark, paging the backlog.
bool repeats(SDL_Keycode k) {
  return k == SDLK_UP || k == SDLK_DOWN || k == SDLK_LEFT || k == SDLK_RIGHT || k == SDLK_TAB ||
         k == SDLK_PAGEUP || k == SDLK_PAGEDOWN;
}

// The gamepad's buttons by the names the input file and the trace use.
const char* buttonName(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return "A";
    case SDL_CONTROLLER_BUTTON_B:
      return "B";
    case SDL_CONTROLLER_BUTTON_X:
      return "X";
    case SDL_CONTROLLER_BUTTON_Y:
      return "Y";
    case SDL_CONTROLLER_BUTTON_START:
      return "Start";
    case SDL_CONTROLLER_BUTTON_BACK:
      return "Back";
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return "LB";
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return "RB";
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return "Up";
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return "Down";
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return "Left";
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return "Right";
    default:
      return nullptr;
  }
}

// How far the stick must lean to press a direction, and come back to let it go.
constexpr int kStickPress = 16000, kStickRelease = 8000;

}  // namespace

/* The window's title bar and frame are the window manager's and unknown before the window
   shows; this much room is kept for them. */
double fittingScale(int width, int height, double share) {
  constexpr int kFrameWidth = 16, kFrameHeight = 48;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  const double fit = std::min((usable.w - kFrameWidth) * share / width,
                              (usable.h - kFrameHeight) * share / height);
  return std::max(1.0, std::floor(fit * 4) / 4);
}

SdlBackend::SdlBackend(int width, int height, double scale, bool fullscreen)
    : width_(width), height_(height), scale_(scale), fullscreen_(fullscreen) {
  platform::preloadForWindow();
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");  // touch is read as touch
  if (!platform::startVideo())
    throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
  if (scale_ <= 0) {
    scale_ = fittingScale(width, height, kComfortableShare);
  } else if (const double fit = fittingScale(width, height, 1.0); scale_ > fit) {
    std::fprintf(stderr, "torami: scale %g does not fit the screen; using %g\n", scale_, fit);
    scale_ = fit;
  }
}

/* The window goes first, so a closed window disappears at once; the audio device may
   take a buffer's time to close. */
SdlBackend::~SdlBackend() {
  if (window_) SDL_DestroyWindow(window_);
  SDL_PumpEvents();  // lets the window system see the window gone now
  mixer_.reset();
  if (custom_) SDL_FreeCursor(custom_);
  if (arrow_) SDL_FreeCursor(arrow_);
  if (gamepadsStarted_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

uint32_t SdlBackend::ticks() { return static_cast<uint32_t>(SDL_GetTicks64()); }

void SdlBackend::setTitle(const std::string& title) {
  title_ = title;
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void SdlBackend::openWindow() {
  // A page's canvas keeps the design size and the page scales it.
  Uint32 flags = platform::kWindowIsCanvas ? 0 : SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             static_cast<int>(std::lround(width_ * scale_)),
                             static_cast<int>(std::lround(height_ * scale_)), flags);
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

/* In a window the frame takes the largest size that fits, keeping its aspect; on a full
   screen it takes the largest whole-number scale that fits, so pixels stay crisp, unless
   that is 1 on a screen that holds more (a small screen): then the largest that fits. */
SdlBackend::Placement SdlBackend::placement(int areaWidth, int areaHeight) const {
  double s =
      std::min(static_cast<double>(areaWidth) / width_, static_cast<double>(areaHeight) / height_);
  if (fullscreen_ && s >= 2) s = std::floor(s);
  return {s, (areaWidth - width_ * s) / 2, (areaHeight - height_ * s) / 2};
}

formats::Point SdlBackend::toClient(double windowX, double windowY) const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  const Placement p = placement(w, h);
  return {static_cast<int>(std::floor((windowX - p.x) / p.scale)),
          static_cast<int>(std::floor((windowY - p.y) / p.scale))};
}

void SdlBackend::toggleFullscreen() { setFullscreen(!fullscreen_); }

void SdlBackend::setFullscreen(bool on) {
  if (on == fullscreen_ || !window_) return;
  fullscreen_ = on;
  SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  redrawWhole();
}

/* Buttons by name; the left stick leans like the D-pad, pressing a direction past one
   threshold and letting it go under a lower one. */
std::optional<gui::RawInput> SdlBackend::gamepadInput(const SDL_Event& e) {
  if (e.type == SDL_CONTROLLERDEVICEADDED) {
    SDL_GameControllerOpen(e.cdevice.which);
    return std::nullopt;
  }
  if (e.type == SDL_CONTROLLERBUTTONDOWN || e.type == SDL_CONTROLLERBUTTONUP) {
    const char* name = buttonName(e.cbutton.button);
    if (!name) return std::nullopt;
    return gui::RawInput::gamepad(
        e.type == SDL_CONTROLLERBUTTONDOWN ? gui::RawInput::ButtonDown : gui::RawInput::ButtonUp,
        name);
  }
  if (e.type != SDL_CONTROLLERAXISMOTION) return std::nullopt;
  const bool horizontal = e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX;
  if (!horizontal && e.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY) return std::nullopt;
  int& lean = horizontal ? stickX_ : stickY_;
  const int value = e.caxis.value;
  int now = lean;
  if (value <= -kStickPress) now = -1;
  if (value >= kStickPress) now = 1;
  if (value > -kStickRelease && value < kStickRelease) now = 0;
  if (now == lean) return std::nullopt;
  const char* before = lean < 0 ? (horizontal ? "Left" : "Up") : (horizontal ? "Right" : "Down");
  const char* after = now < 0 ? (horizontal ? "Left" : "Up") : (horizontal ? "Right" : "Down");
  if (lean != 0) queued_.push_back(gui::RawInput::gamepad(gui::RawInput::ButtonUp, before));
  if (now != 0) queued_.push_back(gui::RawInput::gamepad(gui::RawInput::ButtonDown, after));
  lean = now;
  return std::nullopt;
}

std::optional<gui::RawInput> SdlBackend::keyInput(const SDL_Event& e) {
  const SDL_Keycode sym = e.key.keysym.sym;
  if (e.key.repeat && !repeats(sym)) return std::nullopt;
  gui::Key key;
  key.name = SDL_GetKeyName(sym);
  if (key.name.empty()) return std::nullopt;
  if (!isModifier(sym)) {
    const Uint16 mod = e.key.keysym.mod;
    key.ctrl = mod & KMOD_CTRL, key.alt = mod & KMOD_ALT, key.shift = mod & KMOD_SHIFT;
  }
  const bool down = e.type == SDL_KEYDOWN;
  if (down && !e.key.repeat && (sym == SDLK_F11 || (key.alt && sym == SDLK_RETURN)))
    toggleFullscreen();
  return gui::RawInput::keyEvent(down ? gui::RawInput::KeyDown : gui::RawInput::KeyUp, key);
}

void SdlBackend::expectMedia(const engine::MediaNamed& named) {
  platform::preloadLibraries(named.pictures, named.waves || named.music);
}

/* The watch's thread posts an event; the reload itself happens on the main thread, where
   the event is read. */
void SdlBackend::watchFile(const std::filesystem::path& file) {
  if (watch_ && file == watched_) return;
  if (!fileChanged_) fileChanged_ = SDL_RegisterEvents(1);
  if (fileChanged_ == static_cast<uint32_t>(-1)) return;
  watched_ = file;
  watch_ = platform::watchFile(file, [type = fileChanged_] {
    SDL_Event e{};
    e.type = type;
    SDL_PushEvent(&e);
  });
}

std::optional<gui::RawInput> SdlBackend::translate(const SDL_Event& e) {
  if (fileChanged_ && e.type == fileChanged_) return gui::RawInput::ask(gui::Comfort::Reload);
  switch (e.type) {
    case SDL_QUIT:
      return gui::RawInput::close();
    case SDL_SYSWMEVENT:
      if (platform::windowDestroyed(e, window_)) return gui::RawInput::close();
      return std::nullopt;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) return gui::RawInput::close();
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
          e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        redrawWhole();
        flushIfDue(true);
      }
      return std::nullopt;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (!window_ || e.button.which == SDL_TOUCH_MOUSEID) return std::nullopt;
      const formats::Point p = toClient(e.button.x, e.button.y);
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      return gui::RawInput::mouse(down ? gui::RawInput::Press : gui::RawInput::Release, p.x, p.y,
                                  buttonOf(e.button.button),
                                  down && e.button.clicks >= 2 && e.button.clicks % 2 == 0);
    }
    case SDL_MOUSEMOTION: {
      if (!window_ || e.motion.which == SDL_TOUCH_MOUSEID) return std::nullopt;
      const formats::Point p = toClient(e.motion.x, e.motion.y);
      return gui::RawInput::mouse(gui::RawInput::Motion, p.x, p.y);
    }
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      return gamepadInput(e);
    case SDL_MOUSEWHEEL: {
      if (e.wheel.which == SDL_TOUCH_MOUSEID) return std::nullopt;
      const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (notches == 0) return std::nullopt;
      return gui::RawInput::wheel(notches);
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return keyInput(e);
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
      if (!window_) return std::nullopt;
      int w = 0, h = 0;
      SDL_GetWindowSize(window_, &w, &h);
      const formats::Point p = toClient(e.tfinger.x * w, e.tfinger.y * h);
      if (e.type == SDL_FINGERDOWN) touch_.down(e.tfinger.fingerId, p.x, p.y, ticks());
      if (e.type == SDL_FINGERMOTION) touch_.move(e.tfinger.fingerId, p.x, p.y);
      if (e.type == SDL_FINGERUP)
        for (const gui::RawInput& in : touch_.up(e.tfinger.fingerId, ticks()))
          queued_.push_back(in);
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

std::optional<gui::RawInput> SdlBackend::nextInput() {
  for (const gui::RawInput& in : touch_.due(ticks())) queued_.push_back(in);
  SDL_Event e;
  while (queued_.empty() && SDL_PollEvent(&e)) {
    if (auto in = translate(e)) return in;
  }
  if (queued_.empty()) return std::nullopt;
  const gui::RawInput in = queued_.front();
  queued_.pop_front();
  return in;
}

/* Blocks until an event arrives or the deadline (or a held finger's long press) is due. */
void SdlBackend::waitForEvent(std::optional<uint32_t> deadline) {
  if (const auto touch = touch_.deadline();
      touch && (!deadline || static_cast<int32_t>(*touch - *deadline) < 0))
    deadline = touch;
  if (!deadline) {
    SDL_WaitEvent(nullptr);
  } else if (const auto left = static_cast<int32_t>(*deadline - ticks()); left > 0) {
    SDL_WaitEventTimeout(nullptr, left);
  }
}

void SdlBackend::wait(gui::Wait why, std::optional<uint32_t> deadline) {
  startGamepads();
  switch (why) {
    case gui::Wait::Input:
    case gui::Wait::Idle:
      flushIfDue(true);
      waitForEvent(deadline);
      return;
    case gui::Wait::Poll:
      flushIfDue(true);
      SDL_WaitEventTimeout(nullptr, kPollRest);
      return;
    case gui::Wait::Time:
      if (deadline) waitForTime(*deadline);
      return;
    case gui::Wait::Blocked:
      flushIfDue(true);
      if (deadline) sdl::sleepUnlessClosed(*deadline, window_);
      return;
  }
}

/* Gamepads are optional: plugged in before or later, each is opened as it is announced.
   Looking for them waits until the game first waits, so the first frame is not held. */
void SdlBackend::startGamepads() {
  if (gamepadsStarted_) return;
  gamepadsStarted_ = true;
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
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
gui::Mixer& SdlBackend::mixer() {
  if (!mixer_) mixer_ = sdl::openMixer([this] { return ticks(); });
  return *mixer_;
}

/* The window opens with its first frame that is due: when the script first waits, or
   a display refresh after its first change, so a game that draws its title at once
   opens on the title rather than on the empty form. */
void SdlBackend::present(gui::FrameSource& source) {
  if (!window_ && !pending_) lastPresent_ = ticks();
  frame_ = &source;
  pending_ = true;
  flushIfDue(false);
}

void SdlBackend::flushIfDue(bool force) {
  if (!pending_) return;
  if (!force && static_cast<uint32_t>(ticks() - lastPresent_) < kFrameInterval) return;
  if (!window_) openWindow();
  blit();
  pending_ = false;
  lastPresent_ = ticks();
}

/* The destination pixels that take anything from the frame's rectangle r: the scaler's
   taps only move forwards, so the first and last that touch it bound them. */
SDL_Rect SdlBackend::scaledArea(const formats::Rect& r) const {
  auto span = [](const std::vector<gui::FrameScaler::Tap>& taps, int from, int to) {
    int first = -1, last = -1;
    for (int d = 0; d < static_cast<int>(taps.size()); ++d)
      if (taps[d].second >= from && taps[d].first < to) {
        if (first < 0) first = d;
        last = d;
      }
    return std::pair(first, last + 1);
  };
  const auto [x0, x1] = span(scaler_.columns(), r.x, r.x + r.w);
  const auto [y0, y1] = span(scaler_.rows(), r.y, r.y + r.h);
  if (x0 < 0 || y0 < 0) return {0, 0, 0, 0};
  return {x0, y0, x1 - x0, y1 - y0};
}

/* Scales an area of the scaled frame (in its own pixels) into the window surface. Our
   pixels are the surface's when it is 32-bit XRGB; otherwise rows are converted. */
void SdlBackend::scaleArea(SDL_Surface* surface, const formats::Image& frame, const SDL_Rect& a) {
  auto* pixels = static_cast<Uint8*>(surface->pixels);
  const int bpp = surface->format->BytesPerPixel;
  auto* origin = pixels + (scaledY_ + a.y) * surface->pitch + scaledX_ * bpp;
  if (surface->format->format == SDL_PIXELFORMAT_RGB888) {
    scaler_.scale(frame, reinterpret_cast<uint32_t*>(origin), surface->pitch / 4, a.y, a.y + a.h,
                  a.x, a.x + a.w);
    return;
  }
  std::vector<uint32_t> row(static_cast<size_t>(scaler_.width()));
  for (int y = a.y; y < a.y + a.h; ++y) {
    scaler_.scale(frame, row.data(), 0, y, y + 1, a.x, a.x + a.w);
    SDL_ConvertPixels(a.w, 1, SDL_PIXELFORMAT_RGB888, row.data() + a.x, a.w * 4,
                      surface->format->format, origin + (y - a.y) * surface->pitch + a.x * bpp,
                      surface->pitch);
  }
}

/* The frame goes into the window surface through the scaler. Only what changed since the
   last present is scaled and sent; after a resize or an expose the whole window is, black
   around the frame. */
void SdlBackend::blit() {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface || !frame_) return;
  const formats::Image& frame = frame_->frame();
  const std::vector<formats::Rect> changed = frame_->takeChanged();
  const Placement p = placement(surface->w, surface->h);
  const int dw = std::min(surface->w, static_cast<int>(std::lround(width_ * p.scale)));
  const int dh = std::min(surface->h, static_cast<int>(std::lround(height_ * p.scale)));
  if (dw <= 0 || dh <= 0) return;
  if (scaler_.width() != dw || scaler_.height() != dh) {
    scaler_.setSize(width_, height_, dw, dh);
    whole_ = true;
  }
  scaledX_ = (surface->w - dw) / 2, scaledY_ = (surface->h - dh) / 2;
  std::vector<SDL_Rect> sent;
  if (whole_) {
    if (dw < surface->w || dh < surface->h)  // the margins around the scaled frame
      SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    sent.push_back({0, 0, dw, dh});
  } else {
    for (const formats::Rect& r : changed)
      if (const SDL_Rect a = scaledArea(r); a.w > 0 && a.h > 0) sent.push_back(a);
  }
  if (sent.empty()) return;
  SDL_LockSurface(surface);
  for (const SDL_Rect& a : sent) scaleArea(surface, frame, a);
  SDL_UnlockSurface(surface);
  if (whole_) {
    SDL_UpdateWindowSurface(window_);
  } else {
    for (SDL_Rect& a : sent) a.x += scaledX_, a.y += scaledY_;
    SDL_UpdateWindowSurfaceRects(window_, sent.data(), static_cast<int>(sent.size()));
  }
  whole_ = false;
}

void SdlBackend::setCursor(gui::Cursor c) {
  SDL_Cursor* want = c == gui::Cursor::Custom && custom_ ? custom_ : arrow_;
  if (want) SDL_SetCursor(want);
}

int SdlBackend::ask(const gui::MessageBox& box) {
  flushIfDue(true);  // the game's window, once it has a frame, shows behind the box
  const std::string text = platform::lineBreaksAsNewlines(box.text);
  const bool error = box.icon == gui::MessageBox::Icon::Error;
  // An author in a terminal reads the error there too, as in a headless run.
  if (error) std::fprintf(stderr, "%s\n", text.c_str());
  if (auto answer = platform::askOutsideTheWindow({error, box.title, text, box.buttons}))
    return *answer;
  if (error && box.buttons.size() == 1 && platform::kOwnErrorBox) {
    sdl::showErrorBox(window_, scale_, box.title, text, [this] {
      redrawWhole();
      flushIfDue(true);
    });
    return 0;
  }
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (size_t i = 0; i < box.buttons.size(); ++i)  // the first is the default
    buttons.push_back({i == 0 ? Uint32{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT} : 0u,
                       static_cast<int>(i), box.buttons[i].c_str()});
  const SDL_MessageBoxData data{
      static_cast<Uint32>(box.icon == gui::MessageBox::Icon::Error ? SDL_MESSAGEBOX_ERROR
                                                                   : SDL_MESSAGEBOX_INFORMATION) |
          SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
      window_,
      box.title.c_str(),
      text.c_str(),
      static_cast<int>(buttons.size()),
      buttons.data(),
      nullptr};
  int chosen = -1;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) return -1;
  return chosen;
}

}  // namespace backends
