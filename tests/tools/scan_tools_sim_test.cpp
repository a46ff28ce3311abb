// Q and antenna bandwidth on scans of simulated circuits through the
// simulator's real bridge, after a calibration: every point read and
// corrected by the program and stored as the Port A scan stores it, then the
// tools run on the stored scan.
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/pending.h"
#include "graph/state.h"
#include "instrument/point_reads.h"
#include "instrument/point_sim.h"
#include "scan/pending.h"
#include "scan/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "support/sim_calibration.h"
#include "tools/bandwidth.h"
#include "tools/q_measurement.h"
#include "tools/tools_fixture.h"

namespace vna {
namespace {

class ScanToolsSimTest : public PointSim {
 protected:
  void SetUp() override {
    test::OpenShell(1, [] { return 0; });
    Start("uhf");
    PortB_on = 0;
    test::CalibratePortAOnSim(Sim(), test::CalFrequencies(1, 15, 0.1));
    cal_start_freq = 1;
    cal_end_freq = 15;
    average = 4;
    AverageADC(average);
    testhook::ClearLogs();
  }
  void TearDown() override {
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    CloseWindow(main_win);
    PointSim::TearDown();
  }

  // The device read from start to end in steps of step into the Port A scan
  // arrays, one corrected point each.
  void ScanPortA(const std::string& device, double start, double end, double step) {
    Sim().SetDut(device);
    start_freq = start;
    end_freq = end;
    delta_freq = step;
    const int n = static_cast<int>(std::lround((end - start) / step)) + 1;
    for (int k = 0; k < n; ++k) {
      freq = start + k * step;
      ReadPoint_A(0);
      ASSERT_EQ(vna_status, 0) << freq;
      scanA_freq[k] = freq;
      scanA_swr[k] = swr;
      scanA_zmag[k] = Zmag;
      scanA_phase[k] = Zphase;
    }
    scan_npoints = n;
  }
};

// Series R = 10, L = 10 uH, C = 100 pF: f0 = 5.0329 MHz, Q = sqrt(L / C) / R
// = 31.62. The resonance search after a scan is not built yet; its result
// is the circuit's resonance.
TEST_F(ScanToolsSimTest, QOfASeriesCircuit) {
  const double f0 = 1 / (2 * M_PI * std::sqrt(10e-6 * 100e-12)) / 1e6;
  ScanPortA("series:r=10,l=10u,c=100p", 4.5, 5.6, 0.01);
  resonance_freqs[0] = f0;
  MeasureQ();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  ASSERT_EQ(testhook::MsgBoxes()[0].caption, " Q Measurement");
  const std::string& text = testhook::MsgBoxes()[0].text;
  ASSERT_EQ(text.rfind("Q = ", 0), 0u) << text;
  EXPECT_NEAR(ParseNumber(text.substr(4)), 31.62, 31.62 * 0.02) << text;

  // 100 kHz steps leave fewer than three points below 45 degrees.
  testhook::ClearLogs();
  ScanPortA("series:r=10,l=10u,c=100p", 4.5, 5.6, 0.1);
  MeasureQ();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Freq Resolution Too Coarse");
}

// Series R = 50, L = 10 uH, C = 33 pF: SWR 2 where the reactance is
// +-35.36 ohms, at 8.4844 and 9.0471 MHz.
TEST_F(ScanToolsSimTest, AntennaBandwidthOfASeriesCircuit) {
  start_freq = 7.5;
  end_freq = 10;
  WinWidth = 1024;  // the window OpenShell opened
  WinHeight = 700;
  bg_color = ReadPixel(main_win, 2, 2);
  SetTextBackground(main_win, true, bg_color);
  MeasureGraphLayout();
  DrawGraph();  // the frame of 7.5 .. 10 MHz and its pixel factors
  ScanPortA("series:r=50,l=10u,c=33p", 7.5, 10, 0.01);
  cursor_index = 126;  // 8.76 MHz, near the resonance
  swr_ruler = 2;
  AntennaBandwidth();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  ASSERT_EQ(testhook::MsgBoxes()[0].caption, "Bandwidth");
  const std::string& text = testhook::MsgBoxes()[0].text;
  const size_t low = text.find("Low freq=");
  const size_t high = text.find("High freq=");
  ASSERT_NE(low, std::string::npos) << text;
  ASSERT_NE(high, std::string::npos) << text;
  // Within a fifth of a step: an edge one point off would be a whole step.
  const double f_low = ParseNumber(text.substr(low + 9));
  const double f_high = ParseNumber(text.substr(high + 10));
  EXPECT_NEAR(f_low, 8.4844, 0.002) << text;
  EXPECT_NEAR(f_high, 9.0471, 0.002) << text;
  // Each edge line stands at x(f) of the frame, to a pixel.
  for (double f : {8.4844, 9.0471}) {
    const int x = static_cast<int>(std::lround(graph_left + (f - graph_start) * px_per_MHz));
    int near = 0, beside = 0;
    for (int y = graph_top; y <= graph_bottom; ++y) {
      for (int dx = -1; dx <= 1; ++dx) near += ReadPixel(main_win, x + dx, y) == Green;
      beside += ReadPixel(main_win, x - 4, y) == Green;
      beside += ReadPixel(main_win, x + 4, y) == Green;
    }
    EXPECT_GT(near, (graph_bottom - graph_top) / 3) << f;
    EXPECT_EQ(beside, 0) << f;
  }
  test::SavePicture("tools_antenna_bandwidth_scan");
}

}  // namespace
}  // namespace vna
