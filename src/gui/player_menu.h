#pragma once
// The player's menu: an overlay over the dimmed game with pages of buttons (a list, a
// grid of save slots with thumbnails, a page of text, a question), and the small tab in
// the top-right corner that opens it. Every button is reached by the mouse, a finger, the
// arrow keys with Return, and the gamepad's D-pad with A; Escape or B goes back a page,
// and from the first page closes the menu. What the buttons do is given by the caller.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/backend.h"
#include "gui/font.h"
#include "gui/layer.h"

namespace gui {

class Form;

// One button of a page: a caption (up to two lines), an optional picture above it.
struct MenuButton {
  std::u32string caption, detail;         // detail: a second, dimmer line
  std::optional<formats::Image> picture;  // a slot's thumbnail
  bool marked = false;                    // the choice in effect (a dot before it)
  std::function<void()> action;
};

class PlayerMenu : public Layer {
 public:
  static constexpr int kSlotColumns = 3;
  // The corner tab: how near the pointer must rest, and its rectangle's size.
  static constexpr int kTabReach = 48, kTabWidth = 64, kTabHeight = 18;

  explicit PlayerMenu(Form& form);
  ~PlayerMenu() override;

  bool isOpen() const { return !pages_.empty(); }
  // Opens the menu on a page, or puts a page over the one showing.
  void push(std::u32string heading, std::vector<MenuButton> buttons, int columns = 1);
  // Shows another page in place of the one showing (the focus stays where it was).
  void replace(std::u32string heading, std::vector<MenuButton> buttons, int columns = 1);
  // Back one page; from the first page the menu closes.
  void back();
  void close();
  // Called when the menu closes, and when going back leaves a page under it showing (with
  // how many pages are open).
  std::function<void()> onClose;
  std::function<void(int depth)> onBack;

  // Input while the menu is open, or aimed at the tab: true when the menu took it.
  bool input(const RawInput& in);
  // Whether input() would take it (asked before it is handled).
  bool takes(const RawInput& in) const;
  // Called when the tab is clicked.
  std::function<void()> onTab;
  // Called with what a voice reading the menu says: the heading and the focused button
  // when a page shows, the button when the focus moves to it.
  std::function<void(const std::u32string& text)> onSpoken;

  bool shows() const override { return isOpen() || tabShown_; }
  void paint(formats::Image& screen) override;

  // The rectangles of the buttons of the page showing (for tests and the mouse).
  std::vector<formats::Rect> buttonRects() const;
  formats::Rect tabRect() const;
  int focus() const { return pages_.empty() ? -1 : pages_.back().focus; }

 private:
  struct Page {
    std::u32string heading;
    std::vector<MenuButton> buttons;
    int columns = 1;
    int focus = 0;
  };
  void key(const std::string& name);
  void press(int x, int y);
  void release(int x, int y);
  void motion(int x, int y);
  void activate(int index);
  int hit(int x, int y) const;
  formats::Rect panel() const;
  void changed();
  void speak(bool withHeading);

  Form& form_;
  std::vector<Page> pages_;
  std::shared_ptr<Font> font_;
  std::optional<int> pressed_;  // the button a mouse press went down on
  bool tabShown_ = false, tabPressed_ = false;
};

// The key a gamepad button stands for ("A" is Return, "Start" is F1 ...), or "" for a name
// that is no button.
std::string keyOfButton(const std::string& button);

}  // namespace gui
