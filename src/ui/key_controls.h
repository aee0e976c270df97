#pragma once
// Keys and the wheel on top of the mouse. Each key is a mouse action the title already
// had (a click on the message area, on a menu label, on the heading, a right click on the
// picture area, the chance label's double click) or a comfort that changes nothing in the
// game: the focus mark, skipping, the backlog, the volume. Without keys the window and the
// trace are exactly as before.
#include <functional>
#include <optional>
#include <string>

#include "gui/form.h"
#include "record/recorder.h"
#include "ui/controls.h"
#include "ui/message_renderer.h"
#include "ui/settings.h"

namespace ui {

// What the keys that are no part of the game ask of the window around them.
struct KeyActions {
  std::function<void()> settingsChanged;  // volume, mute or full screen changed
  std::function<void()> quickSave;        // F5
  std::function<void()> quickLoad;        // F9
  std::function<void()> screenshot;       // F12
  std::function<void()> playerMenu;       // F1, the gamepad's Start, a two-finger tap
  std::function<void()> toggleAuto;       // A, the gamepad's Y
  std::function<void()> toggleSkipRead;   // S, the gamepad's X
  std::function<void()> rewind;           // Ctrl+Z
  std::function<void(int)> saveSlot;      // asked for directly (a headless action)
  std::function<void(int)> loadSlot;
  std::function<void(const std::string&)> reload;  // the script changed (a file, headless)
};

class KeyControls {
 public:
  KeyControls(gui::Form& form, const Controls& controls, MessageRenderer& renderer,
              Settings& settings, KeyActions actions, record::Recorder& recorder);

  // Whether an input can change the game (and so belongs in a saved game): every mouse
  // and wheel input, every key and gamepad button but those of the player's comforts
  // (volume, full screen, saves, screenshot, menu, auto, skip read text, rewind); not the
  // closing of the window, the pointer's moves or a comfort asked for directly.
  static bool affectsGame(const gui::RawInput& in);

  // A wait for the user begins, or (not `fresh`) is announced again after the view
  // changed: a menu wait ends skipping, and a new one starts without the focus mark.
  void waitBegins(gui::WaitKind kind, bool fresh);
  // The Label1 index holding the focus mark, -1 for the heading; nullopt without a mark.
  std::optional<int> focus() const;

 private:
  void key(const gui::RawInput& in);
  void button(const gui::RawInput& in);
  void request(const gui::RawInput& in);
  bool comfortKey(const gui::Key& key);
  void keyDown(const gui::Key& key);
  void keyUp(const gui::Key& key);
  void wheel(int notches);
  bool atMenu() const;

  // The focus mark over the heading (-1) and the labels (0..7), in screen order.
  bool focusable(int slot) const;
  gui::Label& slotLabel(int slot) const;
  void moveFocus(int step);
  void setFocus(std::optional<int> slot);

  // Mouse actions on behalf of a key: press on key down, release on key up, so the
  // pressed colours show while the key is held.
  void press(gui::Place place, int index, gui::MouseButton button);
  void release();
  void messageClick();
  void setSkipping(bool on);
  void changeVolume(int step);
  void toggleMute();

  gui::Form& form_;
  const Controls& controls_;
  MessageRenderer& renderer_;
  Settings& settings_;
  KeyActions actions_;
  record::Recorder& recorder_;
  std::optional<int> focus_;
  std::optional<gui::RawInput> pressed_;  // the press a held key made
  std::string pressedBy_;                 // the key that made it
  bool skipping_ = false;
};

}  // namespace ui
