#pragma once
// The command menu: CMST fills MenuTable, CMSL shows a menu on the labels over the
// picture area and waits for a pick, with submenus, the heading and the item menu;
// the mouse handlers of the labels and of the picture area.
#include <array>
#include <cstdint>
#include <string>

#include "engine/text.h"

namespace ui {

class Acs;

class CommandMenu {
 public:
  explicit CommandMenu(Acs& window) : w_(window) {}
  void CMST(int16_t menu, const engine::Text& text);
  int16_t CMSL(int16_t menu);

  void Label1_MouseDown(int index);
  void Label1_MouseUp(int index);
  void LBcm_MouseDown();
  void LBcm_MouseUp();
  void Picture1_MouseDown(int button);

  // The trace's `menu` value: null, or the state, heading, captions and enabled flags.
  std::string traceMenu() const;

 private:
  void display(int menu, int start, std::array<int16_t, 8>& SlotEntry);
  void waitForPick();
  void close();
  void showAll(bool visible);

  Acs& w_;
};

}  // namespace ui
