#include "ui/key_controls.h"

#include <algorithm>
#include <array>

#include "gui/player_menu.h"

namespace ui {

using gui::MouseButton;
using gui::Place;
using gui::RawInput;
using gui::WaitKind;

namespace {

constexpr int kHeading = -1;
// The focus order: the heading, then the labels, as they lie on the screen.
constexpr std::array<int, 9> kFocusOrder = {kHeading, 0, 1, 2, 3, 4, 5, 6, 7};
constexpr uint32_t kNoticeMs = 2000;
constexpr int kVolumeStep = 10;

bool isOneOf(const std::string& name, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

bool isCtrl(const std::string& name) { return isOneOf(name, {"Left Ctrl", "Right Ctrl"}); }

}  // namespace

KeyControls::KeyControls(gui::Form& form, const Controls& controls, MessageRenderer& renderer,
                         Settings& settings, KeyActions actions, record::Recorder& recorder)
    : form_(form),
      controls_(controls),
      renderer_(renderer),
      settings_(settings),
      actions_(std::move(actions)),
      recorder_(recorder) {
  form_.onKey = [this](const RawInput& in) { key(in); };
  form_.onMouseAction = [this] { setFocus(std::nullopt); };
}

bool KeyControls::affectsGame(const RawInput& in) {
  switch (in.type) {
    case RawInput::Close:
    case RawInput::Motion:
    case RawInput::Request:
      return false;
    case RawInput::ButtonDown:
    case RawInput::ButtonUp:
      return affectsGame(RawInput::keyEvent(RawInput::KeyDown, {gui::keyOfButton(in.key.name)}));
    case RawInput::KeyDown:
    case RawInput::KeyUp:
      break;
    default:
      return true;
  }
  const std::string& name = in.key.name;
  return !isOneOf(name, {"-", "=", "M", "F1", "F5", "F9", "F11", "F12", "A", "S"}) &&
         !(in.key.alt && name == "Return") && !(in.key.ctrl && name == "Z");
}

bool KeyControls::atMenu() const { return form_.waitingFor() == WaitKind::Menu; }

void KeyControls::key(const RawInput& in) {
  if (in.type == RawInput::KeyDown) {
    recorder_.record("key", {{"name", in.key.fullName()}});
    keyDown(in.key);
  }
  if (in.type == RawInput::KeyUp) keyUp(in.key);
  if (in.type == RawInput::Wheel) wheel(in.notches);
  if (in.type == RawInput::ButtonDown || in.type == RawInput::ButtonUp) button(in);
  if (in.type == RawInput::Request) request(in);
}

/* A gamepad button is the key it stands for, recorded as the button. */
void KeyControls::button(const RawInput& in) {
  const gui::Key key{gui::keyOfButton(in.key.name)};
  if (key.name.empty()) return;
  if (in.type == RawInput::ButtonUp) return keyUp(key);
  recorder_.record("button", {{"name", in.key.name}});
  keyDown(key);
}

void KeyControls::request(const RawInput& in) {
  const auto call = [](const std::function<void()>& f) {
    if (f) f();
  };
  switch (in.comfort) {
    case gui::Comfort::PlayerMenu:
      return call(actions_.playerMenu);
    case gui::Comfort::SaveSlot:
      if (actions_.saveSlot) actions_.saveSlot(in.index);
      return;
    case gui::Comfort::LoadSlot:
      if (actions_.loadSlot) actions_.loadSlot(in.index);
      return;
    case gui::Comfort::Rewind:
      return call(actions_.rewind);
    case gui::Comfort::Reload:
      if (actions_.reload) actions_.reload(in.file);
      return;
    case gui::Comfort::None:
      return;
  }
}

/* The keys of the player's comforts, which leave the game alone; true when it was one. */
bool KeyControls::comfortKey(const gui::Key& key) {
  const std::string& name = key.name;
  const std::function<void()>* action = nullptr;
  if (name == "F11" || (key.alt && name == "Return")) {
    settings_.fullscreen = !settings_.fullscreen;
    action = &actions_.settingsChanged;
  } else if (name == "F1" || name == "Menu") {
    action = &actions_.playerMenu;
  } else if (name == "F5") {
    action = &actions_.quickSave;
  } else if (name == "F9") {
    action = &actions_.quickLoad;
  } else if (name == "F12") {
    action = &actions_.screenshot;
  } else if (name == "A" && !key.ctrl && !key.alt) {
    action = &actions_.toggleAuto;
  } else if (name == "S" && !key.ctrl && !key.alt) {
    action = &actions_.toggleSkipRead;
  } else if (name == "Z" && key.ctrl) {
    action = &actions_.rewind;
  } else {
    return false;
  }
  if (*action) (*action)();
  return true;
}

/* Every key press is recorded before it takes effect (by the caller). */
void KeyControls::keyDown(const gui::Key& key) {
  release();  // a press still held by another key ends first
  if (comfortKey(key)) return;
  const std::string& name = key.name;
  if (isCtrl(name)) {
    if (!atMenu() && !skipping_) setSkipping(true);
  } else if (name == "Escape") {
    press(Place::PictureArea, 0, MouseButton::Right);
    form_.reannounce();  // the menu was hidden or shown
  } else if (name == "C") {
    for (bool second : {false, true}) {
      form_.inject(RawInput::at(RawInput::Press, Place::ChanceLabel, 0, MouseButton::Left, second));
      form_.inject(RawInput::at(RawInput::Release, Place::ChanceLabel));
    }
  } else if (name == "-" || name == "=") {
    changeVolume(name == "-" ? -1 : 1);
  } else if (name == "M") {
    toggleMute();
  } else if (atMenu()) {
    if (isOneOf(name, {"Return", "Keypad Enter", "Space"})) {
      // Without a mark the first press shows it on the first label; the next one picks.
      if (!focus())
        moveFocus(1);
      else
        press(*focus_ == kHeading ? Place::MenuHeading : Place::MenuLabel, std::max(*focus_, 0),
              MouseButton::Left);
    } else if (isOneOf(name, {"Right", "Down", "Tab"}) && !(name == "Tab" && key.shift)) {
      moveFocus(1);
    } else if (isOneOf(name, {"Left", "Up", "Tab"})) {
      moveFocus(-1);
    } else if (name.size() == 1 && name[0] >= '1' && name[0] <= '8') {
      if (focusable(name[0] - '1')) press(Place::MenuLabel, name[0] - '1', MouseButton::Left);
    } else if (isOneOf(name, {"0", "Backspace", "Home"})) {
      if (focusable(kHeading)) press(Place::MenuHeading, 0, MouseButton::Left);
    }
  } else if (isOneOf(name, {"Return", "Keypad Enter", "Space", "PageDown"})) {
    messageClick();
  } else if (name == "PageUp" && form_.waitingFor() == WaitKind::Click) {
    if (renderer_.backlogBack()) form_.reannounce();
  }
  if (pressed_) pressedBy_ = name;
}

void KeyControls::keyUp(const gui::Key& key) {
  if (isCtrl(key.name) && skipping_) setSkipping(false);
  if (pressed_ && key.name == pressedBy_) release();
}

/* A notch up is PageUp, a notch down PageDown, at once. */
void KeyControls::wheel(int notches) {
  for (; notches > 0; --notches)
    if (form_.waitingFor() == WaitKind::Click && renderer_.backlogBack()) form_.reannounce();
  for (; notches < 0; ++notches) {
    if (atMenu()) continue;
    messageClick();
    release();
  }
}

/* Forward through the backlog while it shows, else a click on the message area. */
void KeyControls::messageClick() {
  if (renderer_.backlogDepth() > 0) {
    renderer_.backlogForward();
    form_.reannounce();
    return;
  }
  press(Place::MessageArea, 0, MouseButton::Left);
}

void KeyControls::press(Place place, int index, MouseButton button) {
  if (pressed_) release();
  const RawInput in = RawInput::at(RawInput::Press, place, index, button);
  form_.inject(in);
  pressed_ = in;
  pressedBy_.clear();
}

void KeyControls::release() {
  if (!pressed_) return;
  RawInput in = *pressed_;
  pressed_.reset();
  in.type = RawInput::Release;
  form_.inject(in);
}

bool KeyControls::focusable(int slot) const {
  const gui::Label& label = slotLabel(slot);
  return label.visible() && label.receivesMouse();
}

gui::Label& KeyControls::slotLabel(int slot) const {
  return slot == kHeading ? *controls_.LBcm : *controls_.Label1[slot];
}

std::optional<int> KeyControls::focus() const {
  if (focus_ && focusable(*focus_)) return focus_;
  return std::nullopt;
}

/* The first move shows the mark on the first entry that can take it; later moves go on
   in screen order, wrapping, over the controls that can take it. */
void KeyControls::moveFocus(int step) {
  const int n = static_cast<int>(kFocusOrder.size());
  int at = 0;
  if (focus_) {
    at = static_cast<int>(std::find(kFocusOrder.begin(), kFocusOrder.end(), *focus_) -
                          kFocusOrder.begin());
  } else {
    step = 1;
    at = 0;  // the search below starts at the first label
  }
  for (int tries = 0; tries < n; ++tries) {
    at = (at + step + n) % n;
    if (focusable(kFocusOrder[at])) {
      setFocus(kFocusOrder[at]);
      form_.reannounce();
      return;
    }
  }
}

void KeyControls::setFocus(std::optional<int> slot) {
  if (focus_) slotLabel(*focus_).setFocusMark(false);
  focus_ = slot;
  if (focus_) slotLabel(*focus_).setFocusMark(true);
}

/* The mark starts hidden at each new menu wait, so a key that answers the next wait never
   picks a label the player has not seen marked. */
void KeyControls::waitBegins(WaitKind kind, bool fresh) {
  if (kind != WaitKind::Menu) return;
  if (skipping_) setSkipping(false);
  if (fresh) setFocus(std::nullopt);
}

void KeyControls::setSkipping(bool on) {
  skipping_ = on;
  renderer_.setSkipping(on);
  recorder_.record("skip", {{"on", on}});
}

void KeyControls::changeVolume(int step) {
  settings_.volume = std::clamp(settings_.volume + step * kVolumeStep, 0, 100);
  settings_.soundVolume = std::clamp(settings_.soundVolume + step * kVolumeStep, 0, 100);
  settings_.muted = false;
  if (actions_.settingsChanged) actions_.settingsChanged();
  form_.showNotice("音量 " + std::to_string(settings_.volume) + "% Volume", kNoticeMs);
}

void KeyControls::toggleMute() {
  settings_.muted = !settings_.muted;
  if (actions_.settingsChanged) actions_.settingsChanged();
  form_.showNotice(
      settings_.muted ? "消音 Muted" : "音量 " + std::to_string(settings_.volume) + "% Volume",
      kNoticeMs);
}

}  // namespace ui
