// What the Vector Scope and Array Scan tests start from: the defaults as
// start-up leaves them on the 1200 MHz model without an instrument, the main
// window open, and a way to act inside a tool window while its procedure
// waits for it to close.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "support/watchdog.h"
#include "tools/array_scan.h"
#include "tools/channel_scan.h"
#include "tools/state.h"
#include "tools/vector_scope.h"

namespace vna::test {

using Strings = std::vector<std::string>;

inline QImage Picture(const Window& w) {
  return w.impl ? w.impl->image.copy() : QImage();
}
inline int PixelAt(const QImage& img, int x, int y) {
  return img.valid(x, y) ? qt::Packed(QColor(img.pixel(x, y))) : -1;
}
// `color` within one pixel of (x, y).
inline bool ColorNear(const QImage& img, int x, int y, int color) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (PixelAt(img, x + dx, y + dy) == color) return true;
  return false;
}
// The window's picture as build/vscope/<name>.png, for a person to look at.
inline void KeepPng(const Window& w, const std::string& name) {
  const QString dir = QString(VNA_BINARY_DIR) + "/vscope";
  QDir().mkpath(dir);
  EXPECT_TRUE(Picture(w).save(dir + "/" + QString::fromStdString(name) + ".png"));
}
// Texts printed into a window at (x, y), in order.
inline Strings PrintsAt(const std::string& window, int x, int y) {
  Strings out;
  for (const auto& p : testhook::Prints())
    if (p.window == window && p.x == x && p.y == y) out.push_back(p.text);
  return out;
}
inline std::string MessageLog() {
  std::string out;
  for (const auto& m : testhook::MsgBoxes()) out += m.caption + "|" + m.text + "\n";
  return out;
}
inline int Boxes(const std::string& caption) {
  int n = 0;
  for (const auto& m : testhook::MsgBoxes()) n += m.caption == caption;
  return n;
}

// Runs a procedure that waits in its window; `step` runs once the window is
// open (inside the procedure's wait, as a person's actions would) and must
// end by closing it. Fails instead of hanging when the procedure never
// returns.
template <typename Open>
void WhileOpen(Window& win, Open open, std::function<void()> step) {
  const int seen = win.instance;
  bool done = false;
  QTimer timer;
  timer.setInterval(1);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (done || !win.IsOpen() || win.instance == seen) return;
    done = true;
    step();
  });
  timer.start();
  Watchdog dog(std::chrono::seconds(60), "a tool window");
  open();
  timer.stop();
  EXPECT_TRUE(done) << "the window never opened";
}

// Posts a control command to a window and lets it be handled.
inline void Press(Window& win, int id) {
  PostEvent(win, kEvCommand, id);
  PumpEvents();
}

class ScopeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenShell(0, MainWindowHandler);
    min_freq = 0.005;
    font_weight = 200;
    scan_running = 0;
    main_loop_on = 1;
    mux_busy = 0;
    vscope_open = arrayscan_open = arrayscan_shown = 0;
    PumpEvents();
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(win_vector_scope);
    CloseWindow(win_array_scan);
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    EXPECT_EQ(testhook::PendingAnswers(), 0u) << "answers left unused";
  }

  // Opens the scope, runs `step` in it, then closes it with Stop/Exit.
  static void InScope(std::function<void()> step) {
    WhileOpen(win_vector_scope, OpenVectorScope, [step] {
      step();
      Press(win_vector_scope, 21170);
    });
  }
};

}  // namespace vna::test
