// The player's menu as a widget: every button by the mouse and by keys, pages and going
// back, the grid of slots, the corner tab, and what it takes from the game.
#include "gui/player_menu.h"

#include <gtest/gtest.h>

#include "gui/form.h"
#include "support/fake_backend.h"

namespace {

using gui::MenuButton;
using gui::RawInput;

struct MenuFixture : testing::Test {
  testing_support::FakeBackend backend;
  gui::Form form{backend, 506, 384};
  gui::PlayerMenu menu{form};
  std::vector<std::string> done;

  MenuFixture() { form.addLayer(menu); }
  std::vector<MenuButton> buttons(int n, const std::string& page) {
    std::vector<MenuButton> out;
    for (int i = 0; i < n; ++i)
      out.push_back(
          {U"b", {}, {}, false, [this, page, i] { done.push_back(page + std::to_string(i)); }});
    return out;
  }
  void click(formats::Point p, gui::MouseButton button = gui::MouseButton::Left) {
    EXPECT_TRUE(menu.input(RawInput::mouse(RawInput::Press, p.x, p.y, button)));
    menu.input(RawInput::mouse(RawInput::Release, p.x, p.y, button));  // taken while open
  }
  void key(const char* name) { menu.input(RawInput::keyEvent(RawInput::KeyDown, {name})); }
};

// A voice reading the menu says the heading and the focused button as a page shows, and
// each button the focus moves to.
TEST_F(MenuFixture, SaysEachPageAndEachButtonTheFocusReaches) {
  std::vector<std::u32string> said;
  menu.onSpoken = [&](const std::u32string& text) { said.push_back(text); };
  std::vector<MenuButton> main = {{U"セーブ Save", {}, {}, false, {}},
                                  {U"音量 Volume", U"音楽 70%", {}, false, {}}};
  main[0].action = [&] { menu.push(U"sub", buttons(1, "s")); };
  menu.push(U"メニュー Menu", main);
  key("Down");
  key("Up");
  key("Return");
  key("Escape");
  EXPECT_EQ(said, (std::vector<std::u32string>{U"メニュー Menu\nセーブ Save",
                                               U"音量 Volume  音楽 70%", U"セーブ Save", U"sub\nb",
                                               U"メニュー Menu\nセーブ Save"}));
}

TEST_F(MenuFixture, ButtonsAnswerTheMouseTheKeysAndTheGamepad) {
  menu.push(U"main", buttons(4, "m"));
  click(menu.buttonRects()[2].centre());
  key("Down");
  key("Return");
  menu.input(RawInput::gamepad(RawInput::ButtonDown, "Down"));
  menu.input(RawInput::gamepad(RawInput::ButtonDown, "A"));
  key("Up");
  key("Up");
  key("Up");
  key("Up");
  key("Space");  // wrapped round to the last
  EXPECT_EQ(done, (std::vector<std::string>{"m2", "m3", "m0", "m0"}));
  // A press that leaves its button before the release does nothing.
  const auto rects = menu.buttonRects();
  menu.input(RawInput::mouse(RawInput::Press, rects[1].centre().x, rects[1].centre().y));
  menu.input(RawInput::mouse(RawInput::Release, rects[3].centre().x, rects[3].centre().y));
  EXPECT_EQ(done.size(), 4u);
  // In the slot grid (six cells, three to a row, then a row of buttons) down goes a row.
  done.clear();
  menu.push(U"slots", buttons(9, "s"), gui::PlayerMenu::kSlotColumns);
  for (const char* k : {"Down", "Right", "Down", "Return"}) key(k);
  EXPECT_EQ(done, (std::vector<std::string>{"s7"}));
}

TEST_F(MenuFixture, PagesGoBackAndCloseByEscapeBAndTheRightButton) {
  int closed = 0;
  menu.onClose = [&] { ++closed; };
  for (const char* how : {"Escape", "B", "right", "outside"}) {
    SCOPED_TRACE(how);
    menu.push(U"main", buttons(3, "m"));
    menu.push(U"sub", buttons(8, "s"), gui::PlayerMenu::kSlotColumns);
    const std::string h = how;
    auto goBack = [&] {
      if (h == "Escape") key("Escape");
      if (h == "B") menu.input(RawInput::gamepad(RawInput::ButtonDown, "B"));
      if (h == "right") click({5, 5}, gui::MouseButton::Right);
      if (h == "outside") click({2, 2});
    };
    goBack();
    EXPECT_EQ(menu.isOpen(), h != "outside") << "a click outside the panel closes at once";
    if (menu.isOpen()) goBack();
    EXPECT_FALSE(menu.isOpen());
  }
  EXPECT_EQ(closed, 4);
}

TEST_F(MenuFixture, TheTabShowsNearTheCornerAndOpensTheMenu) {
  int tabs = 0;
  menu.onTab = [&] { ++tabs; };
  const formats::Point centre = menu.tabRect().centre();
  const RawInput press = RawInput::mouse(RawInput::Press, centre.x, centre.y);
  EXPECT_FALSE(menu.takes(press)) << "a hidden tab leaves the click to the game";
  menu.input(RawInput::mouse(RawInput::Motion, 500, 10));
  EXPECT_TRUE(menu.shows());
  click(centre);
  EXPECT_EQ(tabs, 1);
  menu.input(RawInput::mouse(RawInput::Motion, 100, 200));
  EXPECT_FALSE(menu.shows());
  EXPECT_FALSE(menu.takes(RawInput::keyEvent(RawInput::KeyDown, {"Return"})));
}

/* The menu dims the game on the screen only: the frame that snapshots take stays as it is. */
TEST_F(MenuFixture, ItPaintsOverTheScreenNotOverTheFrame) {
  form.setBackColor(formats::rgb(200, 200, 200));
  const formats::Image before = form.frame();
  menu.push(U"main", buttons(2, "m"));
  EXPECT_EQ(form.frame().pixels(), before.pixels());
  const formats::Image& screen = form.screen();
  EXPECT_LT(screen.at(1, 1) & 0xff, 200);
  menu.close();
  EXPECT_EQ(form.screen().pixels(), before.pixels());
}

}  // namespace
