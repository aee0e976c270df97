#include "window/x11_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace testing_support {
namespace {

Display* dpy(void* d) { return static_cast<Display*>(d); }

Window findWindow(Display* d, Window w, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name) {
    bool same = title == name;
    XFree(name);
    if (same) return w;
  }
  Window root, parent, *children = nullptr;
  unsigned int n = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n && !found; ++i) found = findWindow(d, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

/* Windows of the program under test come and go while this side looks at them; asking
   about one that just went away is no error here. */
int ignoreGoneWindows(Display*, XErrorEvent* e) {
  if (e->error_code == BadWindow || e->error_code == BadDrawable || e->error_code == BadMatch)
    return 0;
  std::fprintf(stderr, "X error %d on request %d\n", e->error_code, e->request_code);
  return 0;
}

}  // namespace

/* Xvfb picks a display number that is free and tells it through a pipe, so tests that
   run at once never share a server. */
XSession::XSession(const std::string& screen) {
  XSetErrorHandler(ignoreGoneWindows);
  int told[2];
  if (pipe(told) != 0) return;
  server_ = fork();
  if (server_ == 0) {
    close(told[0]);
    int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);
    dup2(devnull, 2);
    const std::string fd = std::to_string(told[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
           "tcp", nullptr);
    _exit(127);
  }
  close(told[1]);
  std::string number;
  char c;
  pollfd ready{told[0], POLLIN, 0};
  while (poll(&ready, 1, 30000) > 0 && read(told[0], &c, 1) == 1 && c != '\n') number += c;
  close(told[0]);
  if (number.empty()) return;
  name_ = ":" + number;
  display_ = XOpenDisplay(name_.c_str());
}

XSession::~XSession() {
  if (display_) XCloseDisplay(dpy(display_));
  if (server_ > 0) {
    kill(server_, SIGTERM);
    waitForExit(server_, 3000);
  }
}

pid_t XSession::spawn(const std::string& program, const std::vector<std::string>& args) {
  pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", name_.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

bool XSession::waitForWindowManager(int timeoutMs) {
  const Atom check = XInternAtom(dpy(display_), "_NET_SUPPORTING_WM_CHECK", False);
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* data = nullptr;
    const bool found =
        XGetWindowProperty(dpy(display_), DefaultRootWindow(dpy(display_)), check, 0, 1, False,
                           AnyPropertyType, &type, &format, &items, &after, &data) == Success &&
        items > 0;
    if (data) XFree(data);
    if (found) return true;
    sleepMs(50);
  }
  return false;
}

unsigned long XSession::waitForWindow(const std::string& title, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    Window w = findWindow(dpy(display_), DefaultRootWindow(dpy(display_)), title);
    XWindowAttributes a;
    if (w && XGetWindowAttributes(dpy(display_), w, &a) && a.map_state == IsViewable) return w;
    sleepMs(50);
  }
  return 0;
}

std::optional<formats::Image> XSession::capture(unsigned long window) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy(display_), window, &a)) return std::nullopt;
  XImage* img = XGetImage(dpy(display_), window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return std::nullopt;
  formats::Image out(a.width, a.height);
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) out.set(x, y, XGetPixel(img, x, y) & 0xffffff);
  XDestroyImage(img);
  return out;
}

std::optional<formats::Image> XSession::captureScreen() {
  return capture(DefaultRootWindow(dpy(display_)));
}

std::optional<formats::Image> XSession::showsWithin(unsigned long window,
                                                    const formats::Image& expected, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    auto shot = capture(window);
    if (shot && *shot == expected) return shot;
    sleepMs(100);
  }
  return std::nullopt;
}

formats::Rect XSession::framed(unsigned long window) {
  Display* d = dpy(display_);
  Window w = window, root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  for (;;) {  // up to the child of the root: the frame, or the window itself without one
    if (!XQueryTree(d, w, &root, &parent, &children, &count)) break;
    if (children) XFree(children);
    if (parent == root || parent == 0) break;
    w = parent;
  }
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return {};
  return {a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width};
}

void XSession::origin(unsigned long window, int& x, int& y) {
  Window child;
  XTranslateCoordinates(dpy(display_), window, DefaultRootWindow(dpy(display_)), 0, 0, &x, &y,
                        &child);
}

void XSession::requestClose(unsigned long window) {
  XEvent e;
  std::memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(dpy(display_), "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy(display_), "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy(display_), window, False, NoEventMask, &e);
  XFlush(dpy(display_));
}

void XSession::destroyWindow(unsigned long window) {
  XDestroyWindow(dpy(display_), window);
  XSync(dpy(display_), False);
}

bool XSession::showing(const std::string& title) {
  XSync(dpy(display_), False);
  return findWindow(dpy(display_), DefaultRootWindow(dpy(display_)), title) != 0;
}

int XSession::xdotool(const std::string& args) {
  std::string cmd = "DISPLAY=" + name_ + " xdotool " + args + " >/dev/null 2>&1";
  return std::system(cmd.c_str());
}

std::optional<int> waitForExit(pid_t pid, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    sleepMs(20);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return std::nullopt;
}

}  // namespace testing_support
