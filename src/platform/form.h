#pragma once
// The top-level window: its controls in creation order, mouse routing by hit testing,
// timers, the composed frame, and the event processing that every wait is built on.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/control.h"

namespace platform {

class Form {
 public:
  Form(Backend& backend, int width, int height);

  Label& addLabel(std::string name, Control* parent, Rect rect, FontSpec font);
  PictureBox& addPictureBox(std::string name, Control* parent, Rect rect, bool sunkenBorder);
  Timer& addTimer(int intervalMs);
  Control* find(const std::string& name) const;

  void setCaption(std::string caption) { caption_ = std::move(caption); }
  void setBackColor(Color c) { back_ = c; }
  void show();
  bool shown() const { return shown_; }
  void setCursor(Cursor c);
  Cursor cursor() const { return cursor_; }

  uint32_t ticks() { return backend_.ticks(); }
  Backend& backend() { return backend_; }

  // Processes every pending input and every due timer tick, then returns; never waits.
  void doEvents();
  // A wait for the user begins (a click, a menu pick, or a polling script).
  void beginWait(WaitKind kind);
  // Sleeps until input may be pending or the next timer tick is due.
  void idle();
  // Sleeps until the tick, input or the next timer tick, whichever comes first.
  void sleepUntil(uint32_t tick);
  // Once per pass of the interpreter loop.
  void loopPass() { backend_.loopPass(*this); }

  std::function<void(WaitKind)> onWait;  // a wait for the user begins
  std::function<void()> onClose;         // the user closes the window

  void invalidate() { dirty_ = true; }
  // The whole client area as it looks now.
  const Image& frame();
  // The control that a mouse press at (x, y) reaches, or null for the form itself.
  Control* hitTest(int x, int y) const;

 private:
  void dispatch(const RawInput& in);
  void presentIfDirty();
  void renderTree(Control* parent);
  std::optional<uint32_t> nextTimerDue() const;

  Backend& backend_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  Image frame_;
  std::string caption_;
  Color back_ = 0;
  Cursor cursor_ = Cursor::Default;
  bool shown_ = false, dirty_ = true, composed_ = false;
  Control* capture_ = nullptr;
  int captureButton_ = 0;
  bool captureIsDouble_ = false;
  Control* lastPressed_ = nullptr;
};

}  // namespace platform
