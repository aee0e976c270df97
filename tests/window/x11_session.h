#pragma once
// A private X server (Xvfb) for tests that drive the real window, with the few Xlib
// calls they need: find a window by title, capture it, ask it to close.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "formats/image.h"

namespace testing_support {

class XSession {
 public:
  // Starts Xvfb on a free display with a screen of this size; ok() tells whether it runs.
  explicit XSession(const std::string& screen = "1280x1024x24");
  ~XSession();
  bool ok() const { return display_ != nullptr; }
  const std::string& name() const { return name_; }

  // Starts a program with DISPLAY set to this server; returns its pid.
  pid_t spawn(const std::string& program, const std::vector<std::string>& args);
  // Waits until a window manager runs on this server (up to the timeout).
  bool waitForWindowManager(int timeoutMs);
  // Waits for a top-level window with this title (up to the timeout).
  unsigned long waitForWindow(const std::string& title, int timeoutMs);
  std::optional<formats::Image> capture(unsigned long window);
  // The whole screen, window frames and all.
  std::optional<formats::Image> captureScreen();
  // Captures the window until it shows exactly the expected picture (up to the timeout);
  // that picture, or nullopt.
  std::optional<formats::Image> showsWithin(unsigned long window, const formats::Image& expected,
                                            int timeoutMs);
  // The rectangle on the screen of the window with the window manager's frame around it.
  formats::Rect framed(unsigned long window);
  // The position of the window on the screen.
  void origin(unsigned long window, int& x, int& y);
  // A close request as a window manager sends it.
  void requestClose(unsigned long window);
  // Destroys the window from outside, as a window manager may while its owner still
  // draws into it.
  void destroyWindow(unsigned long window);
  // Whether a window with this title is on the screen now.
  bool showing(const std::string& title);
  // Runs xdotool with DISPLAY set; returns its exit status.
  int xdotool(const std::string& args);

 private:
  pid_t server_ = -1;
  std::string name_;
  void* display_ = nullptr;
};

// Waits for a child to end; nullopt when it has not ended within the timeout (it is
// then killed).
std::optional<int> waitForExit(pid_t pid, int timeoutMs);

}  // namespace testing_support
