#pragma once
// The command menu: CMST fills MenuTable, CMSL shows a menu on the labels over the
// picture area and waits for a pick, with submenus, the heading and the item menu;
// the mouse handlers of the labels and of the picture area.
#include <array>
#include <cstdint>
#include <functional>

#include "engine/state.h"
#include "engine/state_key.h"
#include "gui/form.h"
#include "record/recorder.h"

namespace ui {

// MenuState: no menu, a menu shown, a menu hidden by the right button.
inline constexpr int16_t kMenuClosed = 0;
inline constexpr int16_t kMenuShown = 1;
inline constexpr int16_t kMenuHidden = 2;
// MenuPick while a menu waits: no pick yet, the heading, else the label index 0..7.
inline constexpr int16_t kNoPick = 99;
inline constexpr int16_t kHeadingPick = -1;

using MenuLabels = std::array<gui::Label*, engine::kEntries>;

class CommandMenu {
 public:
  // Takes the mouse handlers of the labels, the heading and the picture area's button
  // presses. `showItem` shows the item of an entry picked from the item menu (menu 0).
  CommandMenu(gui::Form& form, gui::PictureBox& Picture1, gui::Label& LBcm,
              const MenuLabels& Label1, engine::MenuTable& menuTable,
              std::function<void(int entry)> showItem, record::Recorder& recorder);
  void CMST(int16_t menu, const engine::Text& text);
  int16_t CMSL(int16_t menu);

  // The trace's `menu` value: null, or the state, heading, captions and enabled flags.
  record::Json traceMenu() const;
  // Appends what decides how the menu goes on: its state, the menu shown and the one the
  // selection started with, which labels can be picked, and when `shown` their captions.
  void appendState(engine::StateKey& key, bool shown) const;

 private:
  void Label1_MouseDown(int index);
  void Label1_MouseUp(int index);
  void LBcm_MouseDown();
  void LBcm_MouseUp();
  void Picture1_MouseDown(gui::MouseButton button);

  using SlotEntries = std::array<int16_t, engine::kEntries>;
  void display(int menu, int start, SlotEntries& SlotEntry);
  void waitForPick();
  void close();
  void showAll(bool visible);

  gui::Form& form_;
  gui::PictureBox& Picture1;
  gui::Label& LBcm;
  MenuLabels Label1;
  engine::MenuTable& menuTable_;
  std::function<void(int)> showItem_;
  record::Recorder& recorder_;
  int16_t MenuState = kMenuClosed;
  int16_t MenuPick = kNoPick;
  int shownMenu_ = -1, startMenu_ = -1;  // of the selection in progress
};

}  // namespace ui
