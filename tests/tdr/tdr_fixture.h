// What the TDR tests without an instrument start from: the defaults, the
// main window open at 1024 x 700, a plot box whose pixels are worked out by
// hand (x 60..860, y 40..540: 80 pixels per distance division, 25 per
// vertical division, the middle at 290), and a current folder of its own for
// the auto-save file.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "tools/state.h"
#include "tools/tdr.h"
#include "tools/tdr_frame.h"

namespace vna::test {

class TdrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenShell(0, [] { return 0; });
    maximumfreq = 180;
    model_uhf = 0;
    bg_color = ReadPixel(main_win, 2, 2);
    SetTextBackground(main_win, true, bg_color);
    MeasureGraphLayout();
    graph_left = 60;
    graph_right = 860;
    graph_top = 40;
    graph_bottom = 540;
    scan_running = 0;
    recycle_on = 0;
    tdr_trace_points = 0;
    tdr_feet_per_index = 0;
    std::fill(std::begin(tdr_response), std::end(tdr_response), 0.0);
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // Texts printed into the main window since the logs were cleared.
  static std::vector<testhook::PrintRecord> Prints() {
    std::vector<testhook::PrintRecord> out;
    for (const auto& p : testhook::Prints())
      if (p.window == main_win.name) out.push_back(p);
    return out;
  }
  // Whether `text` was printed at (x, y).
  static bool PrintedAt(int x, int y, const std::string& text) {
    for (const auto& p : Prints())
      if (p.x == x && p.y == y && p.text == text) return true;
    return false;
  }
  static bool Printed(const std::string& text) {
    for (const auto& p : Prints())
      if (p.text == text) return true;
    return false;
  }
  // The message boxes shown since the logs were cleared, as "caption|text".
  static std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
    return out;
  }
  static int Pixel(int x, int y) { return ReadPixel(main_win, x, y); }

  // The drawing area of the main window as a picture under build/tdr/.
  static std::string SavePng(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "tdr";
    std::filesystem::create_directories(dir);
    int w = 0, h = 0;
    ClientSize(main_win, w, h);
    const std::string path = (dir / (name + ".png")).string();
    main_win.impl->image.copy(0, 0, w, h).save(QString::fromStdString(path));
    return path;
  }

  testing::TempDir dir{true};
};

}  // namespace vna::test
