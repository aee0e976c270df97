#pragma once
// The top-level window: its controls in creation order, mouse routing by hit testing,
// timers, the composed frame, and the event processing that every wait is built on.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/label.h"
#include "platform/picture_box.h"
#include "platform/run_point.h"
#include "platform/timer.h"

namespace platform {

// What the engine waits for when it waits for the user.
enum class WaitKind { Click, Menu, Poll, End };

class Form : public FrameSource {
 public:
  // After this many passes of the interpreter loop with no wait and no input, the script
  // is polling: the engine is idle as if it waited for the user.
  static constexpr long kPollPasses = 10000;

  Form(Backend& backend, int width, int height);

  Label& addLabel(Control* parent, Rect rect, FontSpec font);
  PictureBox& addPictureBox(Control* parent, Rect rect, bool sunkenBorder);
  Timer& addTimer(int intervalMs);
  // Input aimed at (place, index) lands at `offset` inside the control, else at its centre.
  void addPlace(Place place, int index, const Control& control,
                std::optional<Point> offset = std::nullopt);

  void setCaption(std::string caption) { caption_ = std::move(caption); }
  // Shows `text` after the caption in the title for a while.
  void showNotice(const std::string& text, uint32_t ms);
  void setBackColor(Color c) { back_ = c; }
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
  // Once per pass of the interpreter loop, before its command.
  void beginPass() {
    ++point_.pass;
    point_.site = 0;
  }
  // A place where events are processed begins (a timed wait, the end of a pass).
  void markSite() { ++point_.site; }
  RunPoint point() const { return point_; }
  // Once per pass of the interpreter loop, after its command.
  void loopPass();
  // Whether frames go to the backend; turning it on shows the current frame.
  void setPresenting(bool on);
  // The clock jumped by `delta`: timers keep their distance to it.
  void rebaseClock(int32_t delta);
  // Writes the snapshot of the wait in progress again (after a saved game was loaded).
  void announceAgain();

  std::function<void(WaitKind)> onWait;        // a wait for the user begins
  std::function<void()> onClose;               // the user closes the window
  std::function<void(const RawInput&)> onKey;  // a key goes down or up, the wheel turns
  std::function<void()> onMouseAction;         // the user presses a mouse button

  void invalidate() { dirty_ = unpresented_ = true; }
  // The whole client area as it looks now.
  const Image& frame() override;
  // The control that a mouse press at (x, y) reaches, or null for the form itself.
  Control* hitTest(int x, int y) const;

 private:
  struct PlaceEntry {
    Place place;
    int index;
    const Control* control;
    std::optional<Point> offset;
  };

  template <class C, class... Args>
  C& add(Args&&... args);
  void idle(Wait why);
  void dispatch(RawInput in, bool fromUser = true);
  Point pointOf(Place place, int index) const;
  void presentIfDirty();
  void renderTree(Control* parent);
  std::optional<uint32_t> nextTimerDue() const;

  Backend& backend_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::vector<PlaceEntry> places_;
  Image frame_;
  std::string caption_;
  Color back_ = 0;
  Cursor cursor_ = Cursor::Default;
  bool shown_ = false, dirty_ = true, unpresented_ = true, presenting_ = true;
  RunPoint point_;
  long passes_ = 0;
  std::optional<WaitKind> waiting_;
  bool reannounce_ = false;
  Timer* noticeTimer_ = nullptr;
  Control* capture_ = nullptr;
  MouseButton captureButton_ = MouseButton::Left;
  bool captureIsDouble_ = false;
  Control* lastPressed_ = nullptr;
};

}  // namespace platform
