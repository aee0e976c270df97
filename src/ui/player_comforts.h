#pragma once
// The player's menu of this player: its pages (save, load, back to the last choice, skip
// read text, auto, text speed, volume, full screen, reading aloud, copying the text, backlog,
// controls, restart, quit), the game held while it is open, and what each item asks of the window
// around it.
#include <functional>
#include <string>

#include "gui/form.h"
#include "gui/player_menu.h"
#include "record/recorder.h"
#include "ui/game_saves.h"
#include "ui/settings.h"

namespace ui {

struct ComfortActions {
  std::function<void(int slot)> saveSlot, loadSlot;
  std::function<void()> rewind, restart, quit, backlog, settingsChanged;
  std::function<void()> toggleAuto, toggleSkipRead;
  std::function<bool()> autoOn, skipReadOn;
  std::function<void(const std::string&)> speak;  // said while reading aloud is on
};

class PlayerComforts {
 public:
  PlayerComforts(gui::Form& form, Settings& settings, GameSaves* saves, record::Recorder& recorder,
                 ComfortActions actions);

  // Opens the menu and holds the game until it closes; closes it when open.
  void toggle();
  bool isOpen() const { return menu_.isOpen(); }
  // Input for the menu or its tab (see Form::onPlayerInput).
  bool input(const gui::RawInput& in) { return menu_.input(in); }
  bool takes(const gui::RawInput& in) const { return menu_.takes(in); }
  const gui::PlayerMenu& menu() const { return menu_; }

 private:
  std::vector<gui::MenuButton> mainItems();
  gui::MenuButton toggleItem(std::u32string caption, bool Settings::*setting);
  void showSlots(bool saving, int page);
  static std::u32string slotHeading(bool saving, int page);
  std::vector<gui::MenuButton> slotItems(bool saving, int page);
  void chooseSlot(bool saving, int slot, int page);
  void showTextSpeed();
  void showVolume();
  std::vector<gui::MenuButton> volumeItems();
  void showControls();
  void confirm(const std::u32string& question, std::function<void()> yes);
  void refreshMain();

  gui::Form& form_;
  Settings& settings_;
  GameSaves* saves_;
  record::Recorder& recorder_;
  ComfortActions actions_;
  gui::PlayerMenu menu_;
};

}  // namespace ui
