// The charts drawn from stored scans: the defaults as start-up leaves them,
// a main window, a scan of known impedances, and a script that acts on a
// chart window each time it opens (as a person would, through posted events)
// while the chart's procedure waits.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTimer>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "charts/fakes.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "support/watchdog.h"
#include "tools/state.h"

namespace vna::test {

using Strings = std::vector<std::string>;
using Z = std::pair<double, double>;  // R, X in ohms

constexpr double kOpen = 1e9;  // ohms: an open circuit

// Stores the impedances as the last Port A scan.
inline void SetScan(const std::vector<Z>& points) {
  for (size_t i = 0; i < points.size(); ++i) {
    scanA_Rs[i] = points[i].first;
    scanA_Xs[i] = points[i].second;
    scanA_freq[i] = start_freq + static_cast<double>(i) * delta_freq;
  }
  scan_npoints = scanA_npoints = static_cast<int>(points.size());
  scana_ok = 1;
}

// The window's picture while it is open.
inline QImage Picture(const Window& w) {
  return w.impl ? w.impl->image.copy() : QImage();
}
inline int PixelAt(const QImage& img, int x, int y) {
  return img.valid(x, y) ? qt::Packed(QColor(img.pixel(x, y))) : -1;
}
// True when `color` is within one pixel of (x, y): a 2-pixel pen lies on one
// side of the line through its end points.
inline bool ColorNear(const QImage& img, int x, int y, int color) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (PixelAt(img, x + dx, y + dy) == color) return true;
  return false;
}
// Keeps the picture under build/charts/ for a person to look at.
inline void KeepPng(const QImage& img, const std::string& name) {
  const QString dir = QString(VNA_BINARY_DIR) + "/charts";
  QDir().mkpath(dir);
  img.save(dir + "/" + QString::fromStdString(name) + ".png");
}

// Texts printed into a window at (x, y), in order.
inline Strings PrintsAt(const std::string& window, int x, int y) {
  Strings out;
  for (const auto& p : testhook::Prints())
    if (p.window == window && p.x == x && p.y == y) out.push_back(p.text);
  return out;
}
inline Strings PrintsOnLine(const std::string& window, int y) {
  Strings out;
  for (const auto& p : testhook::Prints())
    if (p.window == window && p.y == y) out.push_back(p.text);
  return out;
}

// Steps run while a chart procedure waits: step k runs once the window has
// opened for the k-th time since the script was made. A step acts through
// posted events, as the user would.
class ChartScript {
 public:
  using Step = std::function<void()>;
  ChartScript(Window& win, std::vector<Step> steps)
      : win_(win), steps_(std::move(steps)), seen_(win.instance) {
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }
  ~ChartScript() { timer_.stop(); }
  size_t done() const { return next_; }

 private:
  void Tick() {
    if (next_ >= steps_.size() || !win_.IsOpen() || win_.instance == seen_) return;
    seen_ = win_.instance;
    steps_[next_++]();
  }
  Window& win_;
  std::vector<Step> steps_;
  int seen_;
  size_t next_ = 0;
  QTimer timer_;
};

// Runs a chart procedure that waits in its window, acting on each opening by
// the steps; fails instead of hanging when it never returns.
inline void RunChart(Window& win, void (*draw)(), std::vector<ChartScript::Step> steps) {
  const size_t count = steps.size();
  ChartScript script(win, std::move(steps));
  Watchdog dog(std::chrono::seconds(30), "a chart procedure");
  draw();
  EXPECT_EQ(script.done(), count) << "the window opened fewer times than the script expects";
}

// Draws a chart, keeps its picture (and a PNG of it when named) and closes
// it by its close box.
inline QImage DrawChart(Window& win, void (*draw)(), const std::string& png = "") {
  QImage img;
  RunChart(win, draw, {[&] {
             img = Picture(win);
             if (!png.empty()) KeepPng(img, png);
             PostEvent(win, kEvClose);
           }});
  return img;
}

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenShell(0, MainWindowHandler);
    font_weight = 200;
    bg_color = Rgb(236, 233, 216);
    win_yscale = 1;
    graph_stamp = "03-07-2025  14:05:09";
    smith_open = smith_closed = smith2_open = smith2_closed = smith2_active = 0;
    polar_open = polar_closed = polar_active = 0;
    polar_s11 = 1;
    polar_swr = polar_z = 0;
    smith_rotation = 0;
    recycle_on = recycle_count = 0;
    scan_running = 0;
    lbutton_down = key_down = ctrl_key_down = shift_key_down = 0;
    start_freq = 1;
    delta_freq = 1;
    PumpEvents();
    testhook::ClearLogs();
    ClearCalls();
  }
  void TearDown() override {
    CloseWindow(smith_win);
    CloseWindow(smith2_win);
    CloseWindow(polar_win);
    CloseWindow(marker_win);
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }
};

}  // namespace vna::test
