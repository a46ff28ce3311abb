// The TDR and cable tools against the instrument simulator: the 180 MHz
// model with its real (imperfect) bridge, the main window open at 1024 x 700
// with the program's own layout, and a calibration from 0.05 to 180 MHz made
// by measuring the simulator's short, open and 50 ohm load through the real
// point reads at every calibration frequency, as the Port A calibration
// stores them. The current folder is a folder of its own (the auto-save file
// lands there).
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "instrument/point_reads.h"
#include "instrument/point_sim.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/temp_dir.h"
#include "tools/state.h"
#include "tools/tdr.h"

namespace vna::test {

// The calibration frequencies: the standard 2 MHz grid from 0.1 MHz, with
// 0.05 MHz below it (the distance to fault asks for it).
inline std::vector<double> CalFrequencies() {
  std::vector<double> f = {0.05, 0.1};
  for (int k = 1; k <= 90; ++k) f.push_back(2.0 * k);
  return f;
}

class TdrSim : public PointSim {
 protected:
  void SetUp() override {
    Start("7306");
    WinWidth = 1024;
    WinHeight = 700;
    WinLeft = 0;
    DIAGMODE = 0;
    OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu | kWinSizing, "",
               MainWindowHandler);
    bg_color = ReadPixel(main_win, 2, 2);
    SetTextBackground(main_win, true, bg_color);
    MeasureGraphLayout();
    Calibrate();
    // The TDR display as the defaults leave it, at 100 ft full scale.
    tdr_mode = 1;
    PortB_on = 0;
    DXscale = 100;
    tdr_zmax = 200;
    tdr_range_factor = 1;
    tdr_zo = 50;
    tdr_high_res = 0;
    tdr_smoothing = 0;
    tdr_dist_factor = 1;
    tdr_linear_z = 1;
    tdr_lines = 1;
    tdr_show_params = 1;
    MyVar1 = 0;
    VF = 0.66;
    metric = 0;
    average = 4;
    AverageADC(average);
    relayA = relayB = 0;
    ProgRelay(0);
    tdr_trace_points = 0;
    scan_running = 0;
    recycle_on = 0;
    main_loop_on = 1;
    testhook::ClearLogs();
  }
  void TearDown() override {
    tdr_mode = 0;
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    PointSim::TearDown();
  }

  void Calibrate() {
    const std::vector<double> freqs = CalFrequencies();
    CalinProgress = 1;
    const char* standards[] = {"short", "open", "load"};
    for (int s = 0; s < 3; ++s) {
      Sim().SetDut(standards[s]);
      for (size_t i = 0; i < freqs.size(); ++i) {
        freq = freqs[i];
        ReadPoint_A(0);
        ASSERT_EQ(vna_status, 0) << standards[s] << " at " << freqs[i];
        CalPointA& p = CalDataA[i];
        p.freq = freqs[i];
        double& r = s == 0 ? p.shortR : s == 1 ? p.openR : p.stdR;
        double& x = s == 0 ? p.shortX : s == 1 ? p.openX : p.stdX;
        r = Rsm;
        x = Xsm;
        p.multstate = 1000 * OSC + mult_code;
        p.gainA = gain_factor_A;
        p.osc = OSC;
      }
    }
    CalinProgress = 0;
    cal_points = static_cast<int>(freqs.size());
    MaxCalANdx = cal_points - 1;
    Rstd = 50;
    PortA_cal = cal_valid = 1;
    cal_start_freq = freqs.front();
    cal_end_freq = freqs.back();
    cal_delta_freq = 2;
  }

  // A 50 ohm cable of the given length (metres) and velocity factor.
  static std::string Line(double z0, double vf, double len, const std::string& end) {
    SetDigits(4);
    return "line:z0=" + Trimmed(z0) + ",vf=" + Trimmed(vf) + ",len=" + Trimmed(len) + ",end=" + end;
  }
  static std::string Trimmed(double x) { return NumStr(x).substr(1); }

  // The drawn trace: distance on the axis (feet, from the x pixel of each
  // sample and the axis labels' spacing) and line impedance, samples
  // 1..Numpts / 2 - 1.
  struct Sample {
    double feet, ohms;
    double rho() const { return (ohms - 50) / (ohms + 50); }
  };
  static std::vector<Sample> Trace() {
    std::vector<Sample> out;
    const double feet_per_px = DXscale / (graph_right - graph_left);
    for (int i = 1; i <= tdr_trace_points / 2 - 1; ++i)
      out.push_back({(tdr_trace_table[i][0] - graph_left) * feet_per_px, tdr_trace_table[i][1]});
    return out;
  }
  // Where the trace's rho first passes `level` beyond `from_feet` (feet on
  // the axis, interpolated between samples); -1 when it does not.
  static double Crossing(double level, double from_feet) {
    const std::vector<Sample> t = Trace();
    for (size_t i = 1; i < t.size(); ++i) {
      if (t[i - 1].feet < from_feet) continue;
      const double a = t[i - 1].rho() - level, b = t[i].rho() - level;
      if (a == 0) return t[i - 1].feet;
      if ((a < 0) != (b < 0)) return t[i - 1].feet + (t[i].feet - t[i - 1].feet) * a / (a - b);
    }
    return -1;
  }
  // The samples between two distances on the axis.
  static std::vector<Sample> Between(double from_feet, double to_feet) {
    std::vector<Sample> out;
    for (const Sample& s : Trace())
      if (s.feet >= from_feet && s.feet <= to_feet) out.push_back(s);
    return out;
  }

  // The messages shown since the logs were cleared, as "caption|text".
  static std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
    return out;
  }

  static std::string SavePng(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "tdr";
    std::filesystem::create_directories(dir);
    int w = 0, h = 0;
    ClientSize(main_win, w, h);
    const std::string path = (dir / (name + ".png")).string();
    main_win.impl->image.copy(0, 0, w, h).save(QString::fromStdString(path));
    return path;
  }

  testing::TempDir folder_{true};
};

}  // namespace vna::test
