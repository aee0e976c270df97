#include "backends/sdl/error_box.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "backends/sdl/window_system.h"
#include "gui/font.h"
#include "platform/text_codec.h"

namespace backends::sdl {
namespace {

constexpr int kMargin = 12, kIcon = 32, kGap = 12, kMaxTextWidth = 420, kMinWidth = 220;
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr formats::Color kFace = formats::rgb(240, 240, 240), kText = formats::rgb(0, 0, 0),
                         kButtonFace = formats::rgb(225, 225, 225);
constexpr formats::Color kButtonEdge = formats::rgb(112, 112, 112),
                         kStop = formats::rgb(200, 30, 30), kStopMark = formats::rgb(255, 255, 255);

/* Lines broken at LF, and again wherever they pass the widest line the box takes. */
std::vector<std::u32string> layOut(gui::Font& font, const std::u32string& text) {
  std::vector<std::u32string> lines(1);
  int width = 0;
  for (char32_t c : text) {
    if (c == U'\n') {
      lines.emplace_back();
      width = 0;
      continue;
    }
    const int advance = font.advance(c);
    if (width + advance > kMaxTextWidth && !lines.back().empty()) {
      lines.emplace_back();
      width = 0;
    }
    lines.back() += c;
    width += advance;
  }
  return lines;
}

void drawStop(formats::Image& image, int x0, int y0) {
  const int r = kIcon / 2;
  for (int y = 0; y < kIcon; ++y)
    for (int x = 0; x < kIcon; ++x) {
      const int dx = 2 * x + 1 - kIcon, dy = 2 * y + 1 - kIcon;
      if (dx * dx + dy * dy > 4 * r * r) continue;
      const bool mark = std::abs(std::abs(dx) - std::abs(dy)) < 4 && std::abs(dx) < kIcon / 2;
      image.set(x0 + x, y0 + y, mark ? kStopMark : kStop);
    }
}

struct Box {
  formats::Image image;
  formats::Rect button;
};

Box compose(gui::Font& font, const std::vector<std::u32string>& lines) {
  int textWidth = 0;
  for (const auto& line : lines) textWidth = std::max(textWidth, font.measure(line));
  const int textHeight = static_cast<int>(lines.size()) * font.height();
  const int contentHeight = std::max(kIcon, textHeight);
  const int width = std::max(kMinWidth, kMargin + kIcon + kGap + textWidth + kMargin);
  const int height = kMargin + contentHeight + kGap + kButtonHeight + kMargin;
  Box box{
      formats::Image(width, height, kFace),
      {(width - kButtonWidth) / 2, kMargin + contentHeight + kGap, kButtonWidth, kButtonHeight}};
  drawStop(box.image, kMargin, kMargin);
  int y = kMargin + (contentHeight - textHeight) / 2;
  for (const auto& line : lines) {
    font.draw(box.image, kMargin + kIcon + kGap, y, line, kText, box.image.bounds());
    y += font.height();
  }
  const formats::Rect& b = box.button;
  box.image.fill(b, kButtonEdge);
  box.image.fill({b.x + 1, b.y + 1, b.w - 2, b.h - 2}, kButtonFace);
  const std::u32string ok = U"OK";
  font.draw(box.image, b.x + (b.w - font.measure(ok)) / 2, b.y + (b.h - font.height()) / 2, ok,
            kText, b);
  return box;
}

/* Whole-number scaling, pixel for pixel, as the main window does. */
void present(SDL_Window* window, const formats::Image& image, int scale) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (!surface) return;
  SDL_LockSurface(surface);
  for (int y = 0; y < surface->h; ++y) {
    auto* row = reinterpret_cast<Uint8*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
    for (int x = 0; x < surface->w; ++x) {
      const formats::Color c =
          image.at(std::min(image.width() - 1, x / scale), std::min(image.height() - 1, y / scale));
      const Uint32 v = SDL_MapRGB(surface->format, (c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff);
      SDL_memcpy(row + x * surface->format->BytesPerPixel, &v, surface->format->BytesPerPixel);
    }
  }
  SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurface(window);
}

bool dismissedBy(const SDL_Event& e, Uint32 boxId, Uint32 ownerId, const formats::Rect& button,
                 int scale, SDL_Window* owner) {
  switch (e.type) {
    case SDL_QUIT:
      return true;
    case SDL_WINDOWEVENT:
      return e.window.event == SDL_WINDOWEVENT_CLOSE &&
             (e.window.windowID == boxId || e.window.windowID == ownerId);
    case SDL_KEYDOWN: {
      const SDL_Keycode k = e.key.keysym.sym;
      return e.key.windowID == boxId &&
             (k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE);
    }
    case SDL_MOUSEBUTTONUP:
      return e.button.windowID == boxId && e.button.button == SDL_BUTTON_LEFT &&
             button.contains(e.button.x / scale, e.button.y / scale);
    case SDL_SYSWMEVENT:
      return platform::windowDestroyed(e, owner);
    default:
      return false;
  }
}

}  // namespace

void showErrorBox(SDL_Window* owner, int scale, const std::string& title, const std::string& text,
                  const std::function<void()>& repaintOwner) {
  scale = std::max(1, scale);
  std::shared_ptr<gui::Font> font;
  try {
    font = gui::Font::get({gui::Face::Gothic, 9, false});
  } catch (const gui::FontMissing&) {
  }
  const Box box = font ? compose(*font, layOut(*font, platform::fromUtf8(text))) : Box{};
  SDL_Window* window =
      box.image.empty()
          ? nullptr
          : SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             box.image.width() * scale, box.image.height() * scale, 0);
  if (!window) {  // no box to be had: the text goes where a headless run puts it
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
  if (owner) SDL_SetWindowModalFor(window, owner);
  present(window, box.image, scale);
  const Uint32 boxId = SDL_GetWindowID(window), ownerId = owner ? SDL_GetWindowID(owner) : 0;
  for (SDL_Event e; SDL_WaitEvent(&e);) {
    if (dismissedBy(e, boxId, ownerId, box.button, scale, owner)) break;
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
      if (e.window.windowID == boxId) present(window, box.image, scale);
      if (e.window.windowID == ownerId && repaintOwner) repaintOwner();
    }
  }
  SDL_DestroyWindow(window);
}

}  // namespace backends::sdl
