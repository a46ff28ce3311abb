// What the cursor readout tests start from: the main window open on a plot
// box of round numbers (60..860 x 40..440, 0..40 MHz at 20 pixels per MHz),
// the readout column at x 885 from y 145 with lines 15 pixels apart, and a
// stored scan of eleven points at 1, 2, .. 11 MHz.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "files/settings.h"
#include "graph/state.h"
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

constexpr int kPoints = 11;
constexpr int kCol = 885;  // info_x + 5

// x of a frequency on the round plot box.
inline int XOf(double mhz) {
  return static_cast<int>(std::lround(60 + mhz * 20));
}

class ReadoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenShell(0, [] { return 0; });
    bg_color = ReadPixel(main_win, 2, 2);
    graph_left = 60;
    graph_right = 860;
    graph_top = 40;
    graph_bottom = 440;
    graph_start = 0;
    graph_end = 40;
    px_per_MHz = 20;
    start_freq = 1;
    end_freq = 40;
    fullscan = 0;
    info_x = 880;
    info_button_h = 20;
    text_height = 13;
    files_panel_y = 660;
    last_x_px = 860;
    win_xscale = 1;
    win_yscale = 0.8f;
    WinHeight = 700;
    last_step = 1;
    plot_swrA = 1;
    plot_rt = 0;
    bandscan_mode = 0;
    plots21 = 1;
    plot_phaseS21 = plot_s11 = plot_phaseS11 = 0;
    full_current_mode = 0;
    DDS_Amplitude = 100;
    delay_offset = 0;
    mux_chan = 0;
    smith_active = smith2_active = polar_active = 0;
    smith_dot_x = smith2_dot_x = polar_dot_x = 0;
    cursor_x = 200;
    cursor_line_x = 0;
    metric = 0;
    Zref = 50;
    Z0imag = 0;
    Zsm_real = 50;
    Zsm_imag = 0;
    for (int k = 0; k < kScanArraySize; ++k) {
      scanA_freq[k] = scanB_freq[k] = 0;
      scanA_swr[k] = scanA_zmag[k] = scanA_phase[k] = 0;
      s21_dB[k] = scanB_phase[k] = scanB_s11rl[k] = scanB_s11phase[k] = delay_B[k] = 0;
      scanB_swr[k] = 0;
    }
    for (int k = 0; k < kPoints; ++k) {
      scanA_freq[k] = scanB_freq[k] = k + 1;
      scanA_swr[k] = 1.5 + 0.1 * k;
      scanA_zmag[k] = 50 + 10 * k;
      scanA_phase[k] = (k - 5) * 0.1;
    }
    scanloop = scanA_npoints = scanB_npoints = kPoints;
    SetDigits(3);
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(main_win);
    CloseWindow(smith_win);
    CloseWindow(smith2_win);
    CloseWindow(polar_win);
    tdr_mode = 0;
    PortB_on = 0;
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // Point k (at k + 1 MHz) holds this series impedance.
  static void SetPoint(int k, double rs, double xs) {
    scanA_zmag[k] = std::hypot(rs, xs);
    scanA_phase[k] = std::atan2(xs, rs);
  }

  static std::vector<testhook::PrintRecord> Prints(const Window& w = main_win) {
    std::vector<testhook::PrintRecord> out;
    for (const auto& p : testhook::Prints())
      if (p.window == w.name) out.push_back(p);
    return out;
  }
  // The print that starts with this text, or a record with text "(none)".
  static testhook::PrintRecord Line(const std::string& start, const Window& w = main_win) {
    for (const auto& p : Prints(w))
      if (p.text.rfind(start, 0) == 0) return p;
    return {"", 0, 0, "(none)"};
  }
  static int Pixel(Window& w, int x, int y) { return ReadPixel(w, x, y); }

  // The window's drawing area as a picture under build/readout/.
  static void SavePng(Window& w, const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "readout";
    std::filesystem::create_directories(dir);
    int cw = 0, ch = 0;
    ClientSize(w, cw, ch);
    w.impl->image.copy(0, 0, cw, ch).save(QString::fromStdString((dir / (name + ".png")).string()));
  }
};

}  // namespace vna::test
