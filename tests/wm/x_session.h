// A virtual X display with a real window manager (Xvfb and openbox), for
// tests that run the program as a person meets it: real key presses and
// clicks through the XTest extension (xdotool), the stacking order and the
// focus as the window manager keeps them, and pictures of the screen.
#pragma once

#include <sys/types.h>

#include <QImage>
#include <QRect>

#include <chrono>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace vna::test {

using XWin = unsigned long;

class XSession {
 public:
  // Starts Xvfb on a display number it picks itself (free, so parallel runs
  // never meet) and openbox on it; Ready() tells whether both came up.
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Ready() const { return dpy_ != nullptr && wm_ready_; }
  const std::string& Name() const { return name_; }  // ":n"
  std::string Why() const { return why_; }          // what failed to start

  // The managed windows from the bottom of the stack to its top, as the
  // window manager lists them (_NET_CLIENT_LIST_STACKING).
  std::vector<XWin> Stacking();
  std::string Title(XWin w);
  // The topmost managed window whose title starts with `prefix` (0: none).
  XWin Find(const std::string& prefix);
  // Polls for it until the limit (0 when it did not come).
  XWin WaitFor(const std::string& prefix, std::chrono::milliseconds limit);
  bool WaitGone(const std::string& prefix, std::chrono::milliseconds limit);
  // Polls until `w` is the managed window that holds the keyboard focus.
  bool WaitFocus(XWin w, std::chrono::milliseconds limit);
  // The managed window that holds the keyboard focus (0: none of them).
  XWin Focused();
  // Position in the stack (bottom 0), -1 when not listed.
  int StackIndex(XWin w);
  // The window's drawing area in screen pixels, and the frame the window
  // manager put around it (left, right, top, bottom).
  QRect Rect(XWin w);
  void FrameExtents(XWin w, int& left, int& right, int& top, int& bottom);
  // A menu or other pop-up of the program is on the screen.
  bool PopupShown();
  bool WaitPopup(std::chrono::milliseconds limit);

  // The whole screen.
  QImage Grab();
  // Saves the screen as <folder>/<name>.png.
  void Shot(const std::string& folder, const std::string& name);

  // Runs xdotool on this display with these arguments; its exit code.
  int Xdo(const std::vector<std::string>& args);
  void Click(int x, int y, int button = 1);
  void Keys(const std::vector<std::string>& keys);
  void Type(const std::string& text);

 private:
  std::string name_, why_;
  Display* dpy_ = nullptr;
  bool wm_ready_ = false;
  pid_t xvfb_ = -1, wm_ = -1;
};

}  // namespace vna::test
