#include "gui/player_menu.h"

#include <algorithm>

#include "gui/form.h"
#include "gui/shade.h"

namespace gui {

using formats::Rect;
using formats::rgb;

namespace {

constexpr int kMargin = 12, kHeadingHeight = 26, kRowHeight = 20, kRowGap = 2;
constexpr int kThumbWidth = 126, kThumbHeight = 96, kCellHeight = kThumbHeight + 36;
constexpr int kGridSlots = 6;
constexpr formats::Color kPanel = rgb(24, 32, 56), kPanelEdge = rgb(160, 170, 200),
                         kButton = rgb(48, 60, 96), kFocused = rgb(84, 104, 168),
                         kText = rgb(255, 255, 255), kDetail = rgb(184, 192, 212),
                         kEmptyThumb = rgb(12, 16, 28);

}  // namespace

std::string keyOfButton(const std::string& button) {
  static const std::pair<const char*, const char*> kKeys[] = {
      {"A", "Return"},  {"B", "Escape"},    {"X", "S"},       {"Y", "A"},
      {"LB", "PageUp"}, {"RB", "PageDown"}, {"Start", "F1"},  {"Back", "F5"},
      {"Up", "Up"},     {"Down", "Down"},   {"Left", "Left"}, {"Right", "Right"}};
  for (const auto& [b, k] : kKeys)
    if (button == b) return k;
  return {};
}

PlayerMenu::PlayerMenu(Form& form) : form_(form) {}
PlayerMenu::~PlayerMenu() = default;

void PlayerMenu::changed() { form_.layersChanged(); }

void PlayerMenu::speak(bool withHeading) {
  if (!onSpoken || pages_.empty()) return;
  const Page& page = pages_.back();
  std::u32string text = withHeading ? page.heading : U"";
  if (page.focus >= 0 && page.focus < static_cast<int>(page.buttons.size())) {
    const MenuButton& b = page.buttons[page.focus];
    text += (text.empty() ? U"" : U"\n") + b.caption + (b.detail.empty() ? U"" : U"  " + b.detail);
  }
  onSpoken(text);
}

void PlayerMenu::push(std::u32string heading, std::vector<MenuButton> buttons, int columns) {
  pages_.push_back({std::move(heading), std::move(buttons), columns, 0});
  pressed_.reset();
  tabShown_ = false;
  changed();
  speak(true);
}

void PlayerMenu::replace(std::u32string heading, std::vector<MenuButton> buttons, int columns) {
  if (pages_.empty()) return push(std::move(heading), std::move(buttons), columns);
  Page& page = pages_.back();
  page.heading = std::move(heading);
  page.buttons = std::move(buttons);
  page.columns = columns;
  page.focus = std::clamp(page.focus, 0, std::max(0, static_cast<int>(page.buttons.size()) - 1));
  changed();
  speak(true);
}

void PlayerMenu::back() {
  if (pages_.empty()) return;
  pages_.pop_back();
  pressed_.reset();
  changed();
  if (pages_.empty() && onClose) onClose();
  if (!pages_.empty() && onBack) onBack(static_cast<int>(pages_.size()));
  speak(true);
}

void PlayerMenu::close() {
  if (pages_.empty()) return;
  pages_.clear();
  pressed_.reset();
  changed();
  if (onClose) onClose();
}

Rect PlayerMenu::panel() const {
  const Rect all = form_.frame().bounds();
  return {kMargin * 2, kMargin, all.w - kMargin * 4, all.h - kMargin * 2};
}

Rect PlayerMenu::tabRect() const {
  const Rect all = form_.frame().bounds();
  return {all.w - kTabWidth - 2, 2, kTabWidth, kTabHeight};
}

/* A list is one column of rows; a grid page has its first six buttons as slot cells,
   three to a row, and the rest in one row beneath them. */
std::vector<Rect> PlayerMenu::buttonRects() const {
  std::vector<Rect> out;
  if (pages_.empty()) return out;
  const Page& page = pages_.back();
  const Rect p = panel();
  const int left = p.x + kMargin, width = p.w - 2 * kMargin, top = p.y + kHeadingHeight;
  const int n = static_cast<int>(page.buttons.size());
  if (page.columns <= 1) {
    for (int i = 0; i < n; ++i)
      out.push_back({left, top + i * (kRowHeight + kRowGap), width, kRowHeight});
    return out;
  }
  const int cellWidth = width / page.columns;
  const int cells = std::min(n, kGridSlots);
  for (int i = 0; i < cells; ++i)
    out.push_back({left + (i % page.columns) * cellWidth,
                   top + (i / page.columns) * (kCellHeight + 4), cellWidth - 4, kCellHeight});
  const int rest = n - cells;
  const int rowTop = top + 2 * (kCellHeight + 4) + 4;
  for (int i = 0; i < rest; ++i)
    out.push_back({left + i * (width / rest), rowTop, width / rest - 4, kRowHeight});
  return out;
}

int PlayerMenu::hit(int x, int y) const {
  const std::vector<Rect> rects = buttonRects();
  for (size_t i = 0; i < rects.size(); ++i)
    if (rects[i].contains(x, y)) return static_cast<int>(i);
  return -1;
}

bool PlayerMenu::takes(const RawInput& in) const {
  if (in.type == RawInput::Close) return false;
  if (isOpen() || in.type == RawInput::Motion) return true;
  const bool mouse = in.type == RawInput::Press || in.type == RawInput::Release;
  return mouse && (tabShown_ || tabPressed_) && in.place == Place::None &&
         tabRect().contains(in.x, in.y);
}

bool PlayerMenu::input(const RawInput& in) {
  if (!takes(in)) return false;
  switch (in.type) {
    case RawInput::Motion:
      motion(in.x, in.y);
      break;
    case RawInput::Press:
      if (!isOpen()) {
        tabPressed_ = true;
      } else if (in.button == MouseButton::Right) {
        back();
      } else {
        press(in.x, in.y);
      }
      break;
    case RawInput::Release:
      if (!isOpen()) {
        tabPressed_ = false;
        if (onTab) onTab();
      } else if (in.button == MouseButton::Left) {
        release(in.x, in.y);
      }
      break;
    case RawInput::KeyDown:
      key(in.key.name);
      break;
    case RawInput::ButtonDown:
      key(keyOfButton(in.key.name));
      break;
    case RawInput::Wheel:
      key(in.notches > 0 ? "Up" : "Down");
      break;
    case RawInput::Request:
      if (in.comfort == Comfort::PlayerMenu) close();  // the same gesture closes it
      break;
    default:
      break;
  }
  return true;
}

void PlayerMenu::motion(int x, int y) {
  const Rect all = form_.frame().bounds();
  const bool near = x >= all.w - kTabWidth - kTabReach && y <= kTabReach;
  if (near == tabShown_ || isOpen()) return;
  tabShown_ = near;
  changed();
}

void PlayerMenu::press(int x, int y) {
  const int i = hit(x, y);
  if (i < 0) {
    if (!panel().contains(x, y)) close();  // a click outside the panel closes the menu
    return;
  }
  pressed_ = i;
  pages_.back().focus = i;
  changed();
}

void PlayerMenu::release(int x, int y) {
  const std::optional<int> pressed = pressed_;
  pressed_.reset();
  if (pressed && hit(x, y) == *pressed) activate(*pressed);
}

void PlayerMenu::activate(int index) {
  if (pages_.empty()) return;
  const auto& buttons = pages_.back().buttons;
  if (index < 0 || index >= static_cast<int>(buttons.size())) return;
  const std::function<void()> action = buttons[index].action;  // it may replace the page
  if (action) action();
  changed();
}

/* Arrows move the focus through the buttons in reading order; in the slot grid up and
   down go a row of cells. */
void PlayerMenu::key(const std::string& name) {
  if (pages_.empty()) return;
  Page& page = pages_.back();
  const int n = static_cast<int>(page.buttons.size());
  if (name == "Escape" || name == "Backspace") return back();
  if (name == "F1" || name == "Menu") return close();
  if (name == "Return" || name == "Keypad Enter" || name == "Space") return activate(page.focus);
  int step = 0;
  if (name == "Down" || name == "Tab") step = page.columns > 1 ? page.columns : 1;
  if (name == "Up") step = page.columns > 1 ? -page.columns : -1;
  if (name == "Right") step = 1;
  if (name == "Left") step = -1;
  if (step == 0 || n == 0) return;
  int to = page.focus + step;
  if (page.columns > 1 && (to < 0 || to >= n)) to = std::clamp(to, 0, n - 1);
  page.focus = (to % n + n) % n;
  changed();
  speak(false);
}

void PlayerMenu::paint(formats::Image& screen) {
  if (!font_) font_ = Font::get({Face::Gothic, 12, false});
  if (!isOpen()) {
    if (!tabShown_) return;
    const Rect t = tabRect();
    shade(screen, t, kPanel, 210);
    screen.frameRect(t, kPanelEdge);
    font_->draw(screen, t.x + (t.w - font_->measure(U"メニュー")) / 2, t.y + 1, U"メニュー", kText,
                t);
    return;
  }
  shade(screen, screen.bounds(), rgb(0, 0, 0), 150);
  const Page& page = pages_.back();
  const Rect p = panel();
  shade(screen, p, kPanel, 235);
  screen.frameRect(p, kPanelEdge);
  font_->draw(screen, p.x + kMargin, p.y + 5, page.heading, kText, p);
  const std::vector<Rect> rects = buttonRects();
  for (size_t i = 0; i < rects.size(); ++i) {
    const MenuButton& b = page.buttons[i];
    const Rect r = rects[i];
    const bool focused = static_cast<int>(i) == page.focus;
    screen.fill(r, focused ? kFocused : kButton);
    if (focused) screen.frameRect(r, kText);
    int textTop = r.y + (r.h - font_->height()) / 2;
    if (page.columns > 1 && static_cast<int>(i) < kGridSlots) {
      const Rect thumb{r.x + (r.w - kThumbWidth) / 2, r.y + 3, kThumbWidth, kThumbHeight};
      if (b.picture) {
        screen.blit(*b.picture, thumb.x, thumb.y, thumb.intersect(r));
      } else {
        screen.fill(thumb, kEmptyThumb);
      }
      textTop = thumb.y + thumb.h + 1;
    }
    const std::u32string caption = (b.marked ? U"● " : U"") + b.caption;
    const int x = page.columns > 1 ? r.x + 4 : r.x + 8;
    const int w = font_->draw(screen, x, textTop, caption, kText, r);
    if (b.detail.empty()) continue;
    if (page.columns > 1)
      font_->draw(screen, x, textTop + font_->height() - 1, b.detail, kDetail, r);
    else
      font_->draw(screen, std::max(x + w + 12, r.x + r.w / 2), textTop, b.detail, kDetail, r);
  }
}

}  // namespace gui
