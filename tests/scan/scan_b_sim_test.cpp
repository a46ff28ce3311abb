// The Port B scan end to end against the simulator: the Scan button in Port
// B mode with the real point reads, Halt in the middle, the group delay of a
// delay line; and the replay of stored points, which sends nothing and draws
// through the same path (smoothing, the Port B graph's picture).
#include <cmath>
#include <complex>
#include <filesystem>
#include <functional>
#include <string>

#include "calibration/correct_b.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "scan/group_delay.h"
#include "scan/scan_b.h"
#include "scan/scan_sim.h"
#include "shell/commands.h"
#include "shell/state.h"
#include "support/shell_fixture.h"

namespace vna {
namespace {

class ScanBSim : public ScanSim {
 protected:
  void BeginB(std::vector<std::string> args = {}) {
    Begin(std::move(args));
    PortBMode();
    cal_end_freq = 1200;
  }
  // Stored points for a replay: n points from 10 MHz at 1 MHz steps, S21
  // -10 dB, phase of a 300 ns line folded into (-pi, pi].
  void StorePoints(int n) {
    Numscanpts = scanB_npoints = n;
    start_freq = 10;
    end_freq = 10 + n - 1;
    delta_freq = 1;
    graph_start = 10;
    graph_end = end_freq;
    for (int i = 0; i <= n; ++i) {
      scanB_freq[i] = 10 + i;
      s21_dB[i] = -10;
      scanB_phase[i] = WrapPhase(-2 * M_PI * (10 + i) * 1e6 * 300e-9);
    }
  }
  void Replay() {
    DrawGraph();
    live_data = 0;
    Scan_B();
    live_data = 1;
  }
  // x of a frequency from the graph geometry.
  static int XOf(double f) {
    return static_cast<int>(std::lround(
        graph_left + (f - graph_start) * (graph_right - graph_left) / (graph_end - graph_start)));
  }
  // Pixels of `color` in column x between the rows y0 and y1.
  static int CountInColumn(int x, int y0, int y1, int color) {
    int n = 0;
    for (int y = y0; y <= y1; ++y) n += ReadPixel(main_win, x, y) == color;
    return n;
  }
};

TEST_F(ScanBSim, ReplaySendsNothingAndRecomputesTheDelay) {
  BeginB();
  StorePoints(60);
  plot_delay = 1;
  s21phase_scale = 180;
  delay_scale = 500;
  vna_status = 4482;  // an earlier failure: the replay still draws
  Sim().Mark("replay");
  Replay();
  test::SaveMainWindowPng("port_b_graph");
  EXPECT_TRUE(SentSince("replay").empty());
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(scanb_ok, 1);
  EXPECT_EQ(scan_npoints, 60);
  EXPECT_EQ(scanloop, 60);  // the marker listing reads the stored points up to here
  for (int i = 1; i < 60; ++i) EXPECT_NEAR(delay_B[i], 300, 0.1) << i;
  EXPECT_NEAR(avg_delay, -300e-9, 3e-9);
  // The S21 trace at -10 dB: graph_top + Zero_Ref divisions down, 10 dB
  // below that at the scale of the S21 axis.
  const int x = XOf(40);
  const double dB_per_px = s21mag_yscale;
  const int y =
      static_cast<int>(std::lround(graph_top + Zero_Ref * grid_units_per_div + 10 * dB_per_px));
  const int s21_color = cycle_colors[color_index];
  EXPECT_GT(CountInColumn(x, y - 2, y + 2, s21_color), 0);
  EXPECT_GT(CountInColumn(x, graph_top, graph_bottom, Orange), 0);  // the delay trace
}

// A live scan smooths each point as it is read and draws it at the middle
// of its window; a replay draws the stored points, smoothed once already, at
// their own frequencies and leaves them as they are.
TEST_F(ScanBSim, SmoothingDrawsPointIAtPointIMinus2) {
  BeginB();
  CalibrateThrough(10, 110, 1);
  Sim().SetDutB("atten:db=10");
  plot_phaseS21 = 0;
  const int s21_color = cycle_colors[color_index];
  const auto last_x_with_trace = [&] {
    int last = -1;
    for (int x = graph_left; x <= graph_right; ++x) {
      if (CountInColumn(x, graph_top, graph_bottom, s21_color) > 0) last = x;
    }
    return last;
  };
  smoothing = 0;
  ScanButton(10, 49, 1);
  ASSERT_EQ(vna_status, 0);
  const double last_f = scanB_freq[scan_npoints - 1];
  EXPECT_NEAR(last_x_with_trace(), XOf(last_f), 1);
  smoothing = 5;
  mult_changed = 0;  // no multiplier change pending: the smoothing acts
  ScanButton(10, 49, 1);
  ASSERT_EQ(vna_status, 0);
  test::SaveMainWindowPng("port_b_smoothed");
  // The last point is drawn where the point two steps before it lies.
  EXPECT_NEAR(last_x_with_trace(), XOf(last_f - 2), 1);
  EXPECT_EQ(smoothing, 5);

  const int n = scanB_npoints;
  const std::vector<double> db(s21_dB, s21_dB + n), phase(scanB_phase, scanB_phase + n);
  Replay();
  EXPECT_NEAR(last_x_with_trace(), XOf(last_f), 1);
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(s21_dB[i], db[i]) << i;
    EXPECT_EQ(scanB_phase[i], phase[i]) << i;
  }
  EXPECT_EQ(smoothing, 5);
}

TEST_F(ScanBSim, NoInfiniteValueReachesTheArraysOrThePicture) {
  BeginB();
  StorePoints(20);
  s21_dB[5] = -INFINITY;
  scanB_phase[7] = NAN;
  plot_delay = 1;
  Replay();
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(std::isfinite(s21_dB[i])) << i;
    EXPECT_TRUE(std::isfinite(scanB_phase[i])) << i;
    EXPECT_TRUE(std::isfinite(delay_B[i])) << i;
  }
  EXPECT_TRUE(std::isfinite(avg_delay));
}

TEST_F(ScanBSim, UncalibratedLiveScanIsRefused) {
  BeginB();
  PortB_cal = 0;
  StorePoints(10);
  Sim().Mark("refused");
  start_freq = 10;
  end_freq = 19;
  delta_freq = 1;
  Scan_B();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Port B needs cal");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Port B is not calibrated.");
  EXPECT_EQ(scanb_ok, 0);
  EXPECT_EQ(scan_running, 0);
}

TEST_F(ScanBSim, HaltInTheMiddleRepeatsTheLastReadingToTheEnd) {
  BeginB();
  PortB_cal = 1;
  cal_end_freq = 1200;
  Sim().SetDutB("atten:db=20");
  int halted_at = -1;
  Watch([&] {
    if (scanloop < 12) return false;
    halted_at = scanloop;
    DispatchCommand(kBtnHalt);
    Sim().Mark("halted");
    return true;
  });
  ScanButton(1, 40, 0.5);
  ASSERT_GT(halted_at, 0);
  // Nothing more was measured after the Halt, yet the list ran to its end.
  EXPECT_EQ(CountOf(SentSince("halted"), 'E'), 0);
  EXPECT_EQ(scanb_ok, 1);
  EXPECT_EQ(scan_npoints, Numscanpts);
  ASSERT_GT(Numscanpts, halted_at + 20);
  for (int k = halted_at + 1; k < Numscanpts; ++k) {
    EXPECT_EQ(s21_dB[k], s21_dB[halted_at]) << k;
    EXPECT_EQ(scanB_phase[k], scanB_phase[halted_at]) << k;
  }
  // Saved automatically, with its companion.
  EXPECT_TRUE(std::filesystem::exists(Folder() + "/ZiviRURGraphB1.scnb"));
  EXPECT_TRUE(std::filesystem::exists(Folder() + "/ZiviRURGraphB1_B.csv"));
  EXPECT_EQ(autosave_flipB, 1);
  EXPECT_EQ(relayA, 0);  // switched off at the end
}

TEST_F(ScanBSim, DelayLineReadsItsGroupDelay) {
  BeginB();
  CalibrateThrough(10, 110, 1);
  Sim().SetDutB("delay:ns=300");
  ScanButton(10, 100, 1);
  test::SaveMainWindowPng("port_b_delay_300ns");
  ASSERT_EQ(vna_status, 0);
  for (int i = 2; i < scan_npoints; ++i) EXPECT_NEAR(delay_B[i], 300, 3) << scanB_freq[i];
  EXPECT_NEAR(avg_delay, -300e-9, 3e-9);
}

// A strong transmission (-10 dB) lowers the averaging of a weighted scan
// from 16 to 4 (weight "Med": 8 x 0.5) from the first point on; with Fixed
// Avg the count stays. Either way the scan ends with the count it began with.
TEST_F(ScanBSim, LevelAveragingOnlyWithoutFixedAvg) {
  BeginB();
  CalibrateThrough(10, 110, 1);
  Sim().SetDutB("atten:db=10");
  autorange = 1;
  avgweight = 0.5;
  for (int fixed : {1, 0}) {
    SCOPED_TRACE(fixed != 0 ? "fixed" : "weighted");
    fixed_avg = fixed;
    AverageADC(16);
    const std::string mark = fixed != 0 ? "fixed" : "weighted";
    Sim().Mark(mark);
    ScanButton(10, 40, 1);
    ASSERT_EQ(vna_status, 0);
    int to_four = 0;
    for (const Command& c : SentSince(mark)) to_four += c == Cmd("J", {4});
    if (fixed != 0) {
      EXPECT_EQ(to_four, 0);
    } else {
      EXPECT_GE(to_four, 1);
    }
    EXPECT_EQ(average, 16);
    for (int i = 0; i < scan_npoints; ++i) EXPECT_NEAR(s21_dB[i], -10, 0.2) << scanB_freq[i];
  }
  fixed_avg = 1;
}

// Both models: a Port A calibration and the Port B through calibration run
// as a person runs them, then whole scans of known devices.
class ScanBModels : public ScanBSim, public ::testing::WithParamInterface<std::string> {
 protected:
  ScanBModels() { model_ = GetParam(); }

  // Port A's short, open and load over this list, then "PORT B CAL" with
  // the through cable connected at its prompt.
  void CalibrateBothPorts(double start, double end, double step) {
    average = 16;
    AverageADC(16);
    PortB_on = transmission_mode = 0;  // Port A's reads and frequency list
    Calibrate(start, end, step);
    cal_delta_freq = step;
    PortB_on = transmission_mode = 1;
    RunThroughCal();
  }
};

// S21 of a series impedance z between the two 50 ohm ports.
std::complex<double> SeriesS21(double f_mhz, double r, double l, double c) {
  const double w = 2 * M_PI * f_mhz * 1e6;
  const std::complex<double> z(r, w * l - 1 / (w * c));
  return 100.0 / (100.0 + z);
}

TEST_P(ScanBModels, CalibratedScansReadKnownDevicesAndNullADelay) {
  BeginB();
  CalibrateBothPorts(0.5, 60.5, 2);
  struct Case {
    const char* device;
    double start, end, step;
    std::function<std::complex<double>(double)> s21;
    double tol_db, tol_deg;
  };
  const auto flat = [](double db) {
    return [db](double) { return std::complex<double>(std::pow(10, db / 20), 0); };
  };
  const Case cases[] = {
      {"atten:db=20", 1, 59, 2, flat(-20), 0.2, 0.5},
      {"atten:db=40", 1, 59, 2, flat(-40), 0.2, 0.5},
      {"atten:db=70", 1, 59, 2, flat(-70), 0.5, 0.5},
      {"series:r=10,l=10u,c=100p", 0.5, 10, 0.25,
       [](double f) { return SeriesS21(f, 10, 10e-6, 100e-12); }, 0.3, 1},
  };
  int max_gain = 0, max_sens = 0;
  bool watch_gain = false;
  Watch([&] {
    if (watch_gain && scan_running != 0) {
      max_gain = std::max(max_gain, std::stoi(Sim().Status("gainB")));
      max_sens = std::max(max_sens, std::stoi(Sim().Status("sensB")));
    }
    return false;
  });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device);
    Sim().SetDutB(c.device);
    watch_gain = std::string(c.device) == "atten:db=70";
    ScanButton(c.start, c.end, c.step);
    ASSERT_EQ(vna_status, 0);
    ASSERT_EQ(scan_npoints, Numscanpts);
    for (int i = 0; i < scan_npoints; ++i) {
      const std::complex<double> want = c.s21(scanB_freq[i]);
      EXPECT_NEAR(s21_dB[i], 20 * std::log10(std::abs(want)), c.tol_db) << scanB_freq[i];
      EXPECT_NEAR(scanB_phase[i] * 180 / M_PI, std::arg(want) * 180 / M_PI, c.tol_deg)
          << scanB_freq[i];
    }
    // Every scan starts at gain step 1 and low sensitivity: at 70 dB the
    // first point steps through several gains, on the 7306 at high
    // sensitivity.
    if (std::string(c.device) == "atten:db=70") {
      EXPECT_GE(max_gain, 3);
      EXPECT_EQ(max_sens, GetParam() == "uhf" ? 1 : 2);
    }
    if (std::string(c.device).rfind("series", 0) == 0) {
      test::SaveMainWindowPng("port_b_series_" + GetParam());
    }
  }

  // S11 beside S21: 75 ohm on Port A returns -13.98 dB.
  Sim().SetDut("r=75");
  Sim().SetDutB("atten:db=20");
  plot_s11 = 1;
  ScanButton(1, 59, 2);
  ASSERT_EQ(vna_status, 0);
  for (int i = 0; i < scan_npoints; ++i) {
    EXPECT_NEAR(scanB_s11rl[i], 20 * std::log10(25.0 / 125), 0.1) << scanB_freq[i];
    EXPECT_NEAR(s21_dB[i], -20, 0.2) << scanB_freq[i];
  }
  test::SaveMainWindowPng("port_b_s11_" + GetParam());

  // A 50 ns line behind 40 dB: its group delay, then the delay dialog's
  // null takes it out of the next scan's phase.
  plot_s11 = 0;
  plot_delay = 1;
  Sim().SetDut("open");
  Sim().SetDutB("delay:ns=50,db=40");
  ScanButton(1, 59, 1);
  ASSERT_EQ(vna_status, 0);
  for (int i = 2; i < scan_npoints; ++i) EXPECT_NEAR(delay_B[i], 50, 0.5) << scanB_freq[i];
  EXPECT_NEAR(avg_delay, -50e-9, 0.5e-9);
  test::SaveMainWindowPng("port_b_delay_50ns_" + GetParam());
  test::AnswerDialog("  Delay time (sec, msec, usec, nsec)", {}, 3);
  DispatchCommand(23328);
  EXPECT_NEAR(delay_offset, -50e-9, 0.5e-9);
  ScanButton(1, 59, 1);
  ASSERT_EQ(vna_status, 0);
  for (int i = 0; i < scan_npoints; ++i) {
    EXPECT_NEAR(scanB_phase[i] * 180 / M_PI, 0, 1) << scanB_freq[i];
  }
}

INSTANTIATE_TEST_SUITE_P(BothModels, ScanBModels, ::testing::Values("uhf", "7306"));

}  // namespace
}  // namespace vna
