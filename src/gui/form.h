#pragma once
// The top-level window: its controls in creation order, mouse routing by hit testing,
// timers, the composed frame, and the event processing that every wait is built on.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/backend.h"
#include "gui/label.h"
#include "gui/layer.h"
#include "gui/picture_box.h"
#include "gui/timer.h"

namespace gui {

// What the engine waits for when it waits for the user.
enum class WaitKind { Click, Menu, Poll, End };

class Form : public FrameSource {
 public:
  // After this many passes of the interpreter loop with no wait and no input, the script
  // is polling: the engine is idle as if it waited for the user.
  static constexpr long kPollPasses = 10000;

  // `drawing` false: a form whose pixels no one looks at. It has no frame, and its picture
  // boxes keep only what decides how the game goes on (their size, where text goes).
  Form(Backend& backend, int width, int height, bool drawing = true);
  ~Form();

  Label& addLabel(Control* parent, formats::Rect rect, FontSpec font);
  PictureBox& addPictureBox(Control* parent, formats::Rect rect, bool sunkenBorder);
  Timer& addTimer(int intervalMs);
  // Input aimed at (place, index) lands at `offset` inside the control, else at its centre.
  void addPlace(Place place, int index, const Control& control,
                std::optional<formats::Point> offset = std::nullopt);

  void setCaption(std::string caption) { caption_ = std::move(caption); }
  // Shows `text` in a notice at the top of the game area for a while.
  void showNotice(const std::string& text, uint32_t ms);
  // A layer painted over the frame as presented, above those added before it.
  void addLayer(Layer& layer) { layers_.push_back(&layer); }
  // A layer changed what it shows: the screen is presented again.
  void layersChanged() { layersDirty_ = unpresented_ = true; }
  // The frame with the layers that show painted over it, as the player sees it.
  const formats::Image& screen();
  // Input for the player and not the game (the player's menu, its tab) is handed here
  // first; true takes it away from the game.
  std::function<bool(const RawInput&)> onPlayerInput;
  // Whether such input would be taken, asked before it is handled (it is kept out of
  // saved games).
  bool forPlayer(const RawInput& in) const { return takesForPlayer && takesForPlayer(in); }
  std::function<bool(const RawInput&)> takesForPlayer;
  // Holds the game while `open` holds: only input is handled (timers, typing and waits stand
  // still), then the clock of the timers moves on by the time held.
  void holdWhile(const std::function<bool()>& open);
  // During a wait for the user: when it gives a tick, the wait is not idle (an untimed
  // headless action is not delivered) and sleeps at most until then; onWaitPass runs after
  // each processing of events inside the wait.
  std::function<std::optional<uint32_t>()> busyUntil;
  std::function<void()> onWaitPass;
  void setBackColor(formats::Color c) { back_ = c; }
  void show();
  void setCursor(Cursor c);
  Cursor cursor() const { return cursor_; }
  uint32_t ticks() { return backend_.ticks(); }

  // Processes every pending input and every due timer tick, then returns; never waits.
  void doEvents();
  // A wait for the user: announces it (onWait), then processes events and sleeps until
  // `answered` holds after a processing of events.
  void waitForUser(WaitKind kind, const std::function<bool()>& answered);
  // The wait for the user in progress, if any.
  std::optional<WaitKind> waitingFor() const { return waiting_; }
  // What the window shows has changed during a wait without answering it: the wait is
  // announced again (a new snapshot) before the engine sleeps.
  void reannounce() { reannounce_ = true; }
  // Handles a mouse action made on behalf of another input (a key) at once, as if it
  // came from the mouse, except that it is no mouse action for onMouseAction.
  void inject(const RawInput& in) { dispatch(in, false); }
  // Sleeps until the tick, input or the next timer tick, whichever comes first.
  void sleepUntil(uint32_t tick);
  // Holds the thread, with all input, for a while.
  void block(uint32_t ms);
  // A place where events are processed begins (a wait for the user, a timed wait, the end
  // of a pass of the interpreter loop): told to onSite.
  void markSite() {
    if (onSite) onSite();
  }
  // Once per pass of the interpreter loop, after its command: a script that polls rests
  // every kPollPasses passes.
  void loopPass();
  // The script loops without changing anything: a window sleeps until input or a timer
  // that wakes (the rest is one of polling otherwise).
  void restIdle();
  // Whether idle loops and timers that need not wake may let the thread sleep.
  void setSleepsWhenIdle(bool on) { sleepsWhenIdle_ = on; }
  bool sleepsWhenIdle() const { return sleepsWhenIdle_; }
  // How many inputs have been handled so far.
  long inputsHandled() const { return inputs_; }
  // Whether frames go to the backend; turning it on shows the current frame.
  void setPresenting(bool on);
  // Whether the form and its picture boxes hold pixels at all (see the constructor).
  bool drawing() const { return drawing_; }
  // The clock jumped by `delta`: timers keep their distance to it.
  void rebaseClock(int32_t delta);
  // Writes the snapshot of the wait in progress again (after a saved game was loaded).
  void announceAgain();

  std::function<void(WaitKind)> onWait;  // a wait for the user begins
  std::function<void()> onClose;         // the user closes the window
  // A key or gamepad button goes down or up, the wheel turns, a comfort is asked for.
  std::function<void(const RawInput&)> onKey;
  std::function<void()> onMouseAction;  // the user presses a mouse button
  std::function<void()> onSite;         // see markSite

  // The whole client area must be composed again.
  void invalidate();
  // The area of a control and its children must be composed again.
  void invalidate(const Control& control);
  // The whole client area as it looks now; only what changed is composed again.
  const formats::Image& frame() override;
  std::vector<formats::Rect> takeChanged() override;
  // The whole frame composed anew, leaving what is to be composed as it is: what frame()
  // must equal.
  formats::Image composeWhole() override;
  // The control that a mouse press at (x, y) reaches, or null for the form itself.
  Control* hitTest(int x, int y) const;

 private:
  struct PlaceEntry {
    Place place;
    int index;
    const Control* control;
    std::optional<formats::Point> offset;
  };

  template <class C, class... Args>
  C& add(Args&&... args);
  void idle(Wait why);
  void rest(Wait why);
  void dispatch(RawInput in, bool fromUser = true);
  formats::Point pointOf(Place place, int index) const;
  void presentIfDirty();
  void compose();
  void shownInOrder(const Control* parent, std::vector<Control*>& out) const;
  void addDamage(formats::Rect r);
  std::optional<uint32_t> nextTimerDue() const;

  Backend& backend_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::vector<PlaceEntry> places_;
  formats::Image frame_;
  std::string caption_;
  formats::Color back_ = 0;
  Cursor cursor_ = Cursor::Default;
  bool shown_ = false, unpresented_ = true, presenting_ = true, sleepsWhenIdle_ = false;
  std::vector<formats::Rect> damage_;   // to compose
  std::vector<formats::Rect> changed_;  // composed since the backend last took them
  bool drawing_;
  long passes_ = 0, inputs_ = 0;
  std::optional<WaitKind> waiting_;
  bool reannounce_ = false;
  Timer* noticeTimer_ = nullptr;
  class Notice;
  std::unique_ptr<Notice> notice_;
  class Screen;
  std::unique_ptr<Screen> screen_;
  std::vector<Layer*> layers_;
  formats::Image screenImage_;
  bool layerShows() const;
  void paintLayers(formats::Image& screen);
  bool layersDirty_ = false;
  Control* capture_ = nullptr;
  MouseButton captureButton_ = MouseButton::Left;
  bool captureIsDouble_ = false;
  Control* lastPressed_ = nullptr;
};

}  // namespace gui
