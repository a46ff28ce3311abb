// What the graph tests start from: the defaults, the main window open at
// 1024 x 700 on the two-multiplier model without an instrument, and either
// the layout the program computes for it or a plot box of round numbers
// (60..860 x 40..440: 20 pixels per division, the middle line at 240).
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "instrument/impedance.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "tools/state.h"

namespace vna::test {

class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenShell(0, [] { return 0; });
    cal_end_freq = 1200;
    start_freq = 1;
    end_freq = 25;
    plot_at_zero = 0;
    scan_running = 1;
    live_data = 1;
    alt_colors = 0;
    color_index = 0;
    recycle_on = recycle_count = 0;
    bandscan_mode = 0;
    // Settings the defaults leave to the init file.
    swr_log = 0;
    bandskip = 0;
    grid_highlight = 0;
    plot_ZphaseB = plot_phaseS11 = 0;
    s21phase_scale = 180;
    delay_scale = 1000;
    smoothing = 0;
    scanloop = 0;
    scana_ok = scanb_ok = 0;
    cal_file_name = config_file_name = "";
    PortA_title = PortB_title = "";
    bg_color = ReadPixel(main_win, 2, 2);
    SetTextBackground(main_win, true, bg_color);
    MeasureGraphLayout();
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // A plot box whose pixels are easy to work out by hand.
  static void RoundBox() {
    graph_left = 60;
    graph_right = 860;
    graph_top = 40;
    graph_bottom = 440;
    text_height = 13;
  }

  static int Pixel(int x, int y) { return ReadPixel(main_win, x, y); }

  // Texts printed into the main window since the last ClearLogs, with their
  // positions.
  static std::vector<testhook::PrintRecord> Prints() {
    std::vector<testhook::PrintRecord> out;
    for (const auto& p : testhook::Prints())
      if (p.window == main_win.name) out.push_back(p);
    return out;
  }
  // The first print of exactly this text, or a record with text "(none)".
  static testhook::PrintRecord PrintOf(const std::string& text) {
    for (const auto& p : Prints())
      if (p.text == text) return p;
    return {"", 0, 0, "(none)"};
  }
  static bool Printed(const std::string& text) { return PrintOf(text).text == text; }

  static int TextWidth(const std::string& face, int points, int weight, const std::string& text) {
    int w = 0, h = 0;
    FontTextExtent(face, points, weight, text, w, h);
    return w;
  }

  // The drawing area of the main window as a picture, saved under
  // build/graph/ for a person to look at.
  static std::string SavePng(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "graph";
    std::filesystem::create_directories(dir);
    int w = 0, h = 0;
    ClientSize(main_win, w, h);
    const std::string path = (dir / (name + ".png")).string();
    main_win.impl->image.copy(0, 0, w, h).save(QString::fromStdString(path));
    return path;
  }
};

// A series R-L-C circuit: 20 ohms, resonant near 14.2 MHz, seen at f MHz,
// as a replayed point leaves it (ImpedanceFromPolar).
inline void SeriesRlcPoint(double f) {
  const double w = 2 * 3.141592654 * f * 1e6;
  const double L = 2e-6, C = 62.8e-12;
  const double x = w * L - 1 / (w * C);
  const double r = 20;
  freq = f;
  Zmag = std::hypot(r, x);
  Zphase = std::atan2(x, r);
  ImpedanceFromPolar();
}

}  // namespace vna::test
