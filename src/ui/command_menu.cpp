#include "ui/command_menu.h"

#include "engine/menu_text.h"
#include "engine/script_error.h"
#include "platform/text_codec.h"
#include "ui/design.h"

namespace ui {

using engine::Text;

namespace {

using engine::isDigitMarker;
using engine::kBackMarker;
using engine::kPickMarker;

const Text kCommandHeading = U"コマンド";

void checkMenu(int menu) {
  if (menu < 0 || menu >= engine::kMenus) engine::fail(engine::kOutOfRange);
}

}  // namespace

CommandMenu::CommandMenu(gui::Form& form, gui::PictureBox& picture1, gui::Label& heading,
                         const MenuLabels& labels, engine::MenuTable& menuTable,
                         std::function<void(int)> showItem, record::Recorder& recorder)
    : form_(form),
      Picture1(picture1),
      LBcm(heading),
      Label1(labels),
      menuTable_(menuTable),
      showItem_(std::move(showItem)),
      recorder_(recorder) {
  Picture1.onMouseDown = [this](const gui::MouseArgs& a) { Picture1_MouseDown(a.button); };
  LBcm.onMouseDown = [this](const gui::MouseArgs&) { LBcm_MouseDown(); };
  LBcm.onMouseUp = [this](const gui::MouseArgs&) { LBcm_MouseUp(); };
  for (int i = 0; i < engine::kEntries; ++i) {
    Label1[i]->onMouseDown = [this, i](const gui::MouseArgs&) { Label1_MouseDown(i); };
    Label1[i]->onMouseUp = [this, i](const gui::MouseArgs&) { Label1_MouseUp(i); };
  }
}

void CommandMenu::CMST(int16_t menu, const Text& text) {
  engine::fillMenus(menuTable_, menu, text);
}

/* The non-empty entries of the menu on the first labels in entry order; the other
   labels stay visible, blank and disabled. */
void CommandMenu::display(int menu, int start, SlotEntries& SlotEntry) {
  shownMenu_ = menu, startMenu_ = start;
  if (menu == start) LBcm.setCaption(kCommandHeading);
  LBcm.setVisible(true);
  for (auto* label : Label1) {
    label->setCaption(Text());
    label->setVisible(true);
    label->setEnabled(false);
  }
  int k = 0;
  for (int e = 0; e < engine::kEntries; ++e) {
    const Text& entry = menuTable_[menu][e];
    if (entry.empty()) continue;
    Label1[k]->setCaption(entry.substr(1));
    Label1[k]->setEnabled(true);
    SlotEntry[k] = static_cast<int16_t>(e);
    ++k;
  }
}

void CommandMenu::waitForPick() {
  MenuPick = kNoPick;
  form_.waitForUser(gui::WaitKind::Menu, [this] { return MenuPick != kNoPick; });
}

void CommandMenu::close() {
  Picture1.cls();
  MenuState = kMenuClosed;
  LBcm.setVisible(false);
  for (auto* label : Label1) label->setVisible(false);
}

int16_t CommandMenu::CMSL(int16_t menu) {
  int m = menu;
  checkMenu(m);
  const int start = m;
  SlotEntries SlotEntry{};
  MenuState = kMenuShown;
  display(m, start, SlotEntry);
  for (;;) {
    waitForPick();
    if (MenuPick == kHeadingPick) {  // back to the start menu
      m = start;
      display(m, start, SlotEntry);
      continue;
    }
    const int e = SlotEntry[MenuPick];
    if (m == 0) showItem_(e);  // the item menu
    const Text& entry = menuTable_[m][e];
    const char32_t marker = entry.empty() ? 0 : entry[0];
    if (marker == kPickMarker) {
      const auto pick = static_cast<int16_t>(m * 100 + e);
      close();
      recorder_.record("pick", {{"code", pick}});
      return pick;
    }
    if (marker == kBackMarker) {
      m = start;
      Picture1.cls();
    } else if (isDigitMarker(marker)) {
      LBcm.setCaption(entry.substr(1) + U"＞");
      m = static_cast<int>(marker - U'０');
    }
    display(m, start, SlotEntry);
  }
}

void CommandMenu::Label1_MouseDown(int index) {
  Label1[index]->setBackColor(design::kLabel1Pressed);
}

void CommandMenu::Label1_MouseUp(int index) {
  Label1[index]->setBackColor(design::kLabel1Back);
  MenuPick = static_cast<int16_t>(index);
}

void CommandMenu::LBcm_MouseDown() { LBcm.setBackColor(design::kLBcmPressed); }

void CommandMenu::LBcm_MouseUp() {
  LBcm.setBackColor(design::kLBcmBack);
  MenuPick = kHeadingPick;
}

void CommandMenu::showAll(bool visible) {
  LBcm.setVisible(visible);
  for (auto* label : Label1) label->setVisible(visible);
}

/* The right button hides an active menu and shows it again; blank labels come back
   with the others and stay disabled. */
void CommandMenu::Picture1_MouseDown(gui::MouseButton button) {
  if (button != gui::MouseButton::Right) return;
  if (MenuState == kMenuShown) {
    MenuState = kMenuHidden;
    showAll(false);
  } else if (MenuState == kMenuHidden) {
    MenuState = kMenuShown;
    showAll(true);
  }
}

void CommandMenu::appendState(engine::StateKey& key, bool shown) const {
  key.add(MenuState);
  if (MenuState != kMenuClosed || shown) {
    key.add(shownMenu_);
    key.add(startMenu_);
  }
  if (shown) key.add(MenuPick);
  key.add(LBcm.visible());
  if (shown) key.add(LBcm.caption());
  for (const gui::Label* label : Label1) {
    key.add(label->enabled());
    key.add(label->visible());
    if (shown) key.add(label->caption());
  }
}

record::Json CommandMenu::traceMenu() const {
  if (MenuState == kMenuClosed) return nullptr;
  record::Json labels = record::Json::array(), enabled = record::Json::array();
  for (const gui::Label* label : Label1) {
    labels.push_back(platform::toUtf8(label->caption()));
    enabled.push_back(label->enabled());
  }
  return {{"state", MenuState},
          {"heading", platform::toUtf8(LBcm.caption())},
          {"labels", labels},
          {"enabled", enabled}};
}

}  // namespace ui
