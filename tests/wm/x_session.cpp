#include "wm/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "support/process.h"

extern char** environ;

namespace vna::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPoll(50);

// The display number Xvfb chose, written to a pipe it was given (-displayfd).
pid_t StartXvfb(std::string& name) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  constexpr int kFd = 9;  // the pipe's end as Xvfb sees it
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], kFd);
  const std::vector<std::string> args = {"Xvfb",         "-displayfd", std::to_string(kFd),
                                         "-screen",      "0",          "1280x1024x24",
                                         "-nolisten",    "tcp",        "-noreset"};
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string number;
  const auto end = Clock::now() + std::chrono::seconds(20);
  while (pid > 0 && Clock::now() < end) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (!number.empty()) name = ":" + number;
  return pid;
}

void Stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  WaitProcess(pid, std::chrono::seconds(10));
  pid = -1;
}

std::vector<unsigned long> Longs(Display* dpy, XWin w, const char* prop, Atom type) {
  std::vector<unsigned long> out;
  Atom actual;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, w, XInternAtom(dpy, prop, False), 0, 4096, False, type, &actual,
                         &format, &n, &after, &data) == Success &&
      data && format == 32) {
    const auto* v = reinterpret_cast<unsigned long*>(data);
    out.assign(v, v + n);
  }
  if (data) XFree(data);
  return out;
}

}  // namespace

XSession::XSession() {
  xvfb_ = StartXvfb(name_);
  if (name_.empty()) {
    why_ = "Xvfb did not start";
    return;
  }
  for (int i = 0; i < 100 && !dpy_; ++i) {
    dpy_ = XOpenDisplay(name_.c_str());
    if (!dpy_) std::this_thread::sleep_for(kPoll);
  }
  if (!dpy_) {
    why_ = "cannot open display " + name_;
    return;
  }
  wm_ = StartProcess({"openbox"}, {"DISPLAY=" + name_});
  // Up once it names itself on the root window.
  const auto end = Clock::now() + std::chrono::seconds(20);
  while (wm_ > 0 && Clock::now() < end && !wm_ready_) {
    wm_ready_ =
        !Longs(dpy_, DefaultRootWindow(dpy_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty();
    if (!wm_ready_) std::this_thread::sleep_for(kPoll);
  }
  if (!wm_ready_) why_ = "openbox did not start";
}

XSession::~XSession() {
  if (dpy_) XCloseDisplay(dpy_);
  Stop(wm_);
  Stop(xvfb_);
}

std::vector<XWin> XSession::Stacking() {
  return Longs(dpy_, DefaultRootWindow(dpy_), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
}

std::string XSession::Title(XWin w) {
  std::string title;
  Atom actual;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy_, w, XInternAtom(dpy_, "_NET_WM_NAME", False), 0, 1024, False,
                         XInternAtom(dpy_, "UTF8_STRING", False), &actual, &format, &n, &after,
                         &data) == Success &&
      data) {
    title.assign(reinterpret_cast<char*>(data), n);
  }
  if (data) XFree(data);
  return title;
}

XWin XSession::Find(const std::string& prefix) {
  const std::vector<XWin> stack = Stacking();
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (Title(*it).rfind(prefix, 0) == 0) return *it;
  }
  return 0;
}

XWin XSession::WaitFor(const std::string& prefix, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  for (;;) {
    if (XWin w = Find(prefix)) return w;
    if (Clock::now() >= end) return 0;
    std::this_thread::sleep_for(kPoll);
  }
}

bool XSession::WaitGone(const std::string& prefix, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  for (;;) {
    if (!Find(prefix)) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

XWin XSession::Focused() {
  Window focus;
  int revert;
  XGetInputFocus(dpy_, &focus, &revert);
  const std::vector<XWin> clients = Stacking();
  // The focus may lie on a window inside a client: climb to the client.
  for (Window w = focus; w && w != DefaultRootWindow(dpy_);) {
    if (std::find(clients.begin(), clients.end(), w) != clients.end()) return w;
    Window root, parent;
    Window* children = nullptr;
    unsigned int n;
    if (!XQueryTree(dpy_, w, &root, &parent, &children, &n)) break;
    if (children) XFree(children);
    w = parent;
  }
  return 0;
}

bool XSession::WaitFocus(XWin w, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  for (;;) {
    if (Focused() == w) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

int XSession::StackIndex(XWin w) {
  const std::vector<XWin> stack = Stacking();
  auto it = std::find(stack.begin(), stack.end(), w);
  return it == stack.end() ? -1 : static_cast<int>(it - stack.begin());
}

QRect XSession::Rect(XWin w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy_, w, &a)) return {};
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child);
  return QRect(x, y, a.width, a.height);
}

void XSession::FrameExtents(XWin w, int& left, int& right, int& top, int& bottom) {
  const auto v = Longs(dpy_, w, "_NET_FRAME_EXTENTS", XA_CARDINAL);
  left = right = top = bottom = 0;
  if (v.size() < 4) return;
  left = static_cast<int>(v[0]);
  right = static_cast<int>(v[1]);
  top = static_cast<int>(v[2]);
  bottom = static_cast<int>(v[3]);
}

bool XSession::PopupShown() {
  Window root, parent;
  Window* children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &n)) return false;
  bool shown = false;
  for (unsigned int i = 0; i < n && !shown; ++i) {
    XWindowAttributes a;
    // A menu: a window of its own that the window manager leaves alone;
    // tool tips are lower than any menu.
    shown = XGetWindowAttributes(dpy_, children[i], &a) && a.map_state == IsViewable &&
            a.override_redirect && a.width > 40 && a.height > 40;
  }
  if (children) XFree(children);
  return shown;
}

bool XSession::WaitPopup(std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  for (;;) {
    if (PopupShown()) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

QImage XSession::Grab() {
  const int w = DisplayWidth(dpy_, DefaultScreen(dpy_));
  const int h = DisplayHeight(dpy_, DefaultScreen(dpy_));
  XImage* xi = XGetImage(dpy_, DefaultRootWindow(dpy_), 0, 0, w, h, AllPlanes, ZPixmap);
  QImage img(w, h, QImage::Format_RGB32);
  if (!xi) {
    img.fill(Qt::black);
    return img;
  }
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const unsigned long p = XGetPixel(xi, x, y);
      row[x] = qRgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
  }
  XDestroyImage(xi);
  return img;
}

void XSession::Shot(const std::string& folder, const std::string& name) {
  std::filesystem::create_directories(folder);
  Grab().save(QString::fromStdString(folder + "/" + name + ".png"));
}

int XSession::Xdo(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"xdotool"};
  all.insert(all.end(), args.begin(), args.end());
  const pid_t pid = StartProcess(all, {"DISPLAY=" + name_});
  return pid > 0 ? WaitProcess(pid, std::chrono::seconds(20)) : -1;
}

void XSession::Click(int x, int y, int button) {
  Xdo({"mousemove", "--sync", std::to_string(x), std::to_string(y), "click",
       std::to_string(button)});
}

void XSession::Keys(const std::vector<std::string>& keys) {
  std::vector<std::string> args = {"key", "--delay", "60"};
  args.insert(args.end(), keys.begin(), keys.end());
  Xdo(args);
}

void XSession::Type(const std::string& text) {
  Xdo({"type", "--delay", "60", text});
}

}  // namespace vna::test
