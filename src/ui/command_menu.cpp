#include "ui/command_menu.h"

#include "engine/script_error.h"
#include "media/pictures.h"
#include "platform/text_codec.h"
#include "ui/acs.h"
#include "ui/design.h"
#include "ui/message_renderer.h"

namespace ui {

using engine::Text;

namespace {

constexpr char32_t kSeparator = U'・';
constexpr char32_t kPick = U'＊';
constexpr char32_t kBack = U'＠';
const Text kCommandHeading = U"コマンド";

bool isDigitMarker(char32_t c) { return c >= U'０' && c <= U'９'; }
bool isMarker(char32_t c) { return c == kPick || c == kBack || isDigitMarker(c); }

void checkMenu(int menu) {
  if (menu < 0 || menu >= engine::kMenus) engine::fail(engine::kOutOfRange);
}

}  // namespace

/* Each marker starts a new entry and each separator a new menu, so the menus that the
   text reaches are replaced whole and the others keep their entries. */
void CommandMenu::CMST(int16_t menu, const Text& text) {
  int m = menu;
  checkMenu(m);
  if (text.size() > 32767) engine::fail(engine::kOverflow);  // the count is 16-bit
  auto& table = w_.state.menuTable;
  table[m].fill(Text());
  int entry = -1;
  for (char32_t c : text) {
    if (c == kSeparator) {
      checkMenu(++m);
      table[m].fill(Text());
      entry = -1;
    } else if (isMarker(c)) {
      if (++entry >= engine::kEntries) engine::fail(engine::kOutOfRange);
      table[m][entry] = Text(1, c);
    } else {
      if (entry < 0) engine::fail(engine::kOutOfRange);  // text before the first marker
      table[m][entry] += c;
    }
  }
}

/* The non-empty entries of the menu on the first labels in entry order; the other
   labels stay visible, blank and disabled. */
void CommandMenu::display(int menu, int start, std::array<int16_t, 8>& SlotEntry) {
  if (menu == start) w_.LBcm->setCaption(kCommandHeading);
  w_.LBcm->setVisible(true);
  for (auto* label : w_.Label1) {
    label->setCaption(Text());
    label->setVisible(true);
    label->setEnabled(false);
  }
  int k = 0;
  for (int e = 0; e < engine::kEntries; ++e) {
    const Text& entry = w_.state.menuTable[menu][e];
    if (entry.empty()) continue;
    w_.Label1[k]->setCaption(entry.substr(1));
    w_.Label1[k]->setEnabled(true);
    SlotEntry[k] = static_cast<int16_t>(e);
    ++k;
  }
}

void CommandMenu::waitForPick() {
  w_.MenuPick = 99;
  w_.form.beginWait(platform::WaitKind::Menu);
  for (;;) {
    w_.form.doEvents();
    if (w_.MenuPick != 99) return;
    w_.form.idle();
  }
}

void CommandMenu::close() {
  w_.Picture1->cls();
  w_.MenuState = 0;
  w_.LBcm->setVisible(false);
  for (auto* label : w_.Label1) label->setVisible(false);
}

int16_t CommandMenu::CMSL(int16_t menu) {
  int m = menu;
  checkMenu(m);
  const int start = m;
  std::array<int16_t, 8> SlotEntry{};
  w_.MenuState = 1;
  display(m, start, SlotEntry);
  for (;;) {
    waitForPick();
    if (w_.MenuPick == -1) {  // the heading: back to the start menu
      m = start;
      display(m, start, SlotEntry);
      continue;
    }
    const int e = SlotEntry[w_.MenuPick];
    if (m == 0) {  // the item menu: flag 0, the item's picture and its message
      w_.state.flags[0] = static_cast<int16_t>(e);
      w_.pictures().paintItemTile(e);
      w_.renderer().MESHG(w_.state.ItemMessages[e]);
    }
    const Text& entry = w_.state.menuTable[m][e];
    const char32_t marker = entry.empty() ? 0 : entry[0];
    if (marker == kPick) {
      const auto pick = static_cast<int16_t>(m * 100 + e);
      close();
      if (w_.tracing()) w_.writeTrace(w_.traceEvent("pick").add("code", static_cast<int>(pick)));
      return pick;
    }
    if (marker == kBack) {
      m = start;
      w_.Picture1->cls();
    } else if (isDigitMarker(marker)) {
      w_.LBcm->setCaption(entry.substr(1) + U"＞");
      m = static_cast<int>(marker - U'０');
    }
    display(m, start, SlotEntry);
  }
}

void CommandMenu::Label1_MouseDown(int index) {
  w_.Label1[index]->setBackColor(design::kLabel1Pressed);
}

void CommandMenu::Label1_MouseUp(int index) {
  w_.Label1[index]->setBackColor(design::kLabel1Back);
  w_.MenuPick = static_cast<int16_t>(index);
}

void CommandMenu::LBcm_MouseDown() { w_.LBcm->setBackColor(design::kLBcmPressed); }

void CommandMenu::LBcm_MouseUp() {
  w_.LBcm->setBackColor(design::kLBcmBack);
  w_.MenuPick = -1;
}

void CommandMenu::showAll(bool visible) {
  w_.LBcm->setVisible(visible);
  for (auto* label : w_.Label1) label->setVisible(visible);
}

/* The right button hides an active menu and shows it again; blank labels come back
   with the others and stay disabled. */
void CommandMenu::Picture1_MouseDown(int button) {
  if (button != 2) return;
  if (w_.MenuState == 1) {
    w_.MenuState = 2;
    showAll(false);
  } else if (w_.MenuState == 2) {
    w_.MenuState = 1;
    showAll(true);
  }
}

std::string CommandMenu::traceMenu() const {
  if (w_.MenuState == 0) return "null";
  using platform::Json;
  std::string labels = "[", enabled = "[";
  for (int i = 0; i < 8; ++i) {
    labels += (i ? "," : "") + Json::quote(platform::toUtf8(w_.Label1[i]->caption()));
    enabled += (i ? "," : "") + std::string(w_.Label1[i]->enabled() ? "true" : "false");
  }
  return Json()
      .add("state", static_cast<int>(w_.MenuState))
      .add("heading", platform::toUtf8(w_.LBcm->caption()))
      .addRaw("labels", labels + "]")
      .addRaw("enabled", enabled + "]")
      .str();
}

}  // namespace ui
