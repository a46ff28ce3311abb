// What reads a stored scan after it was measured, against the simulator: the
// charts, the cursor readout of each port and the files draw, show and save
// the points of that port's own stored scan, never another port's count,
// another measurement written over its arrays, or none at all.
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "graph/cursor_readout.h"
#include "graph/graph_frame.h"
#include "graph/polar_plot.h"
#include "graph/smith_chart.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "instrument/diag_graph.h"
#include "scan/band_scan.h"
#include "scan/noise_filters.h"
#include "scan/scan_a.h"
#include "scan/scan_limits.h"
#include "scan/scan_sim.h"
#include "shell/commands.h"
#include "shell/menus.h"
#include "shell/setup_dialogs.h"
#include "scan/stored_scan_files.h"

namespace vna {
namespace {

constexpr int kPolarS11 = 4795;  // "S11" of the "Polar Plot" submenu
constexpr int kSavePortA = 2;    // "Save Port A Graph"

// A chart window's picture, under build/scan/ for a person to look at.
void SaveChartPng(Window& win, const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "scan";
  std::filesystem::create_directories(dir);
  int w = 0, h = 0;
  ClientSize(win, w, h);
  win.impl->image.copy(0, 0, w, h).save(QString::fromStdString((dir / (name + ".png")).string()));
}

class StoredScanConsumers : public ScanSim {
 protected:
  void TearDown() override {
    StopWatch();
    bandscan_mode = 0;  // else a later Rescan would be a band scan
    ScanSim::TearDown();
  }
  // Both ports calibrated over 1 to 3 MHz, in Port B mode.
  void BeginBothPorts() {
    Begin();
    Calibrate(1, 3.05, 0.05);
    PortBMode();
    CalibrateThrough(1, 3, 0.01);
    chart_scale = 1;
    win_yscale = static_cast<float>(WinHeight) / 768.0f;
    markerena = 0;
    point_smith = 0;
    polar_s11 = 1;
    polar_swr = polar_z = 0;
    polar_scale = 1;
  }

  // Whether the command opens the chart `win`; an opened chart is closed
  // once it is drawn, and its picture kept.
  bool ChartOpens(Window& win, int command, const int& open_flag, const std::string& png) {
    const int before = win.instance;
    Watch([&win, &open_flag, png] {
      if (open_flag == 0) return false;
      SaveChartPng(win, png);
      PostEvent(win, kEvClose);
      return true;
    });
    DispatchCommand(command);
    StopWatch();
    return win.instance != before;
  }

  // The SWR the cursor readout shows at frequency f.
  static double CursorSwrAt(double f) {
    cursor_x = 0;
    cursor_swr = -1;
    CursorReadout(Rnd(graph_left + (f - graph_start) * px_per_MHz), (graph_top + graph_bottom) / 2);
    return cursor_swr;
  }
};

// With no Port A scan stored, the Smith chart and the polar plot stay shut:
// the count of the Port B scan before them, or of a Port A scan whose arrays
// a band scan has written over since, is no Port A scan to draw.
TEST_F(StoredScanConsumers, ChartsDrawOnlyAStoredPortAScan) {
  BeginBothPorts();
  Sim().SetDutB("atten:db=6");
  ScanButton(1, 3, 0.01);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(scanB_npoints, 201);
  DispatchCommand(kBtnPortAB);
  ASSERT_EQ(PortB_on, 0);
  ASSERT_EQ(scana_ok, 0);
  EXPECT_FALSE(ChartOpens(smith_win, kBtnSmith, smith_open, "stored_consumers_smith_after_b"));
  EXPECT_FALSE(ChartOpens(polar_win, kPolarS11, polar_open, "stored_consumers_polar_after_b"));

  // A Port A scan of its own is drawn.
  Sim().SetDut("r=75");
  ScanButton(1, 2, 0.05);
  ASSERT_EQ(vna_status, 0);
  ASSERT_GE(scanA_npoints, 20);
  EXPECT_TRUE(ChartOpens(smith_win, kBtnSmith, smith_open, "stored_consumers_smith_scan_a"));
  EXPECT_TRUE(ChartOpens(polar_win, kPolarS11, polar_open, "stored_consumers_polar_scan_a"));

  // The band scan's levels take the Port A arrays.
  bandscan_sens = 1;
  BandScan();
  ASSERT_EQ(bandscan_mode, 1);
  EXPECT_FALSE(ChartOpens(smith_win, kBtnSmith, smith_open, "stored_consumers_smith_after_band"));
  EXPECT_FALSE(ChartOpens(polar_win, kPolarS11, polar_open, "stored_consumers_polar_after_band"));
}

// The SWR beside each Port B point is the Port B scan's own: a Port A scan
// of another load after it does not become the SWR its replay draws and its
// cursor reads, and the Port B scan leaves the Port A scan's SWR alone.
TEST_F(StoredScanConsumers, EachPortKeepsItsOwnSwr) {
  BeginBothPorts();
  plot_swrB = 1;
  Sim().SetDut("r=100");  // Port A beside each Port B point: SWR 2
  Sim().SetDutB("atten:db=6");
  ScanButton(1, 3, 0.05);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(scanB_npoints, 41);
  const double swr_b = CursorSwrAt(2);
  ASSERT_NEAR(swr_b, 2, 0.1);
  save_mode = 1;
  SaveScanB();

  DispatchCommand(kBtnPortAB);
  ASSERT_EQ(PortB_on, 0);
  Sim().SetDut("r=150");  // SWR 3
  ScanButton(1, 3, 0.1);
  ASSERT_EQ(vna_status, 0);
  ASSERT_GE(scanA_npoints, 20);
  EXPECT_NEAR(CursorSwrAt(2), 3, 0.15);

  DispatchCommand(kBtnPortAB);  // the Port B scan replayed
  ASSERT_EQ(PortB_on, 1);
  test::SaveMainWindowPng("stored_consumers_port_b_swr_replayed");
  EXPECT_NEAR(CursorSwrAt(2), swr_b, 0.01);

  // Another Port B scan with its SWR trace leaves the Port A scan's SWR.
  Sim().SetDut("r=50");
  ScanButton(1, 3, 0.05);
  ASSERT_EQ(vna_status, 0);
  ASSERT_NEAR(CursorSwrAt(2), 1, 0.1);
  PortB_on = 0;
  EXPECT_NEAR(CursorSwrAt(2), 3, 0.15);

  // The saved Port B scan loaded back gives its SWR from its return loss.
  PortB_on = 1;
  save_mode = 1;
  LoadScanB();
  ASSERT_EQ(scanB_npoints, 41);
  EXPECT_NEAR(CursorSwrAt(2), swr_b, 1e-4);
}

// The diagnostic graph writes its readings into the Port A arrays, one
// index off the scan's own: the scan that stood there is gone, and Save
// says there is none instead of writing a mixture.
TEST_F(StoredScanConsumers, DiagnosticGraphLeavesNoPortAScanBehind) {
  Begin();
  Calibrate(1, 2.05, 0.05);
  Sim().SetDut("r=75");
  ScanButton(1, 2, 0.05);
  ASSERT_EQ(vna_status, 0);
  ASSERT_GE(scanA_npoints, 20);
  DIAGMODE = 1;
  DiagGraph();
  DIAGMODE = 0;
  ASSERT_EQ(scan_running, 0);
  PortA_title = "after the diagnostic graph";  // no comment is asked for
  testhook::ClearLogs();
  DispatchCommand(kSavePortA);
  EXPECT_TRUE(testhook::FileDialogs().empty());
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "There is no measured Port A scan to save.");
  cursor_zmag = -1;
  cursor_x = 0;
  CursorReadout(Rnd(graph_left + (1.5 - graph_start) * px_per_MHz), (graph_top + graph_bottom) / 2);
  EXPECT_EQ(cursor_zmag, -1) << "the readout reads no Port A scan";
}

// "Null the Delay" takes out the mean delay of the stored Port B scan: once
// new scan limits have dropped it, there is no delay left to take out.
TEST_F(StoredScanConsumers, NullTheDelayNeedsAStoredPortBScan) {
  Begin();
  CalibrateThrough(1, 61, 0.5);
  PortBMode();
  Sim().SetDutB("delay:ns=100,db=6");
  ScanButton(11, 60, 0.5);
  ASSERT_EQ(vna_status, 0);
  ASSERT_NEAR(std::fabs(avg_delay), 100e-9, 2e-9);
  auto null_the_delay = [] {
    testhook::Answer null_it;
    null_it.caption = "  Delay time (sec, msec, usec, nsec)";
    null_it.press = 3;
    testhook::QueueAnswer(null_it);
    EnterDelayOffset();
  };
  delay_offset = 0;
  null_the_delay();
  EXPECT_NEAR(delay_offset, avg_delay, 1e-12) << "the stored scan's delay";

  // New limits: the stored scans no longer belong to them.
  sv_start = start_freq;
  sv_end = end_freq;
  start_freq = 20;
  CheckScanLimits();
  ASSERT_EQ(scanb_ok, 0);
  delay_offset = 0;
  null_the_delay();
  EXPECT_EQ(delay_offset, 0);
}

// A scan over other limits that measures nothing (halted before its first
// reading) keeps the stored scan: its file then names the limits it was
// measured over, not the new ones, and loads back over them.
TEST_F(StoredScanConsumers, AKeptScanIsSavedWithItsOwnLimits) {
  Begin();
  Calibrate(1, 41, 0.5);
  Sim().SetDut("r=75");
  ScanButton(2, 20, 0.5);
  ASSERT_EQ(vna_status, 0);
  const int n = scanA_npoints;
  ASSERT_EQ(n, 37);
  scanloop = -1;
  bool halted = false;
  testhook::SetPumpHook([&] {
    if (halted || !ScanAInProgress() || scanloop != 0) return;
    halted = true;
    DispatchCommand(kBtnHalt);
  });
  ScanButton(30, 40, 0.1);
  testhook::SetPumpHook(nullptr);
  ASSERT_TRUE(halted);
  ASSERT_EQ(scanA_npoints, n);

  const std::string path = Folder() + "/ZiviRURGraph.scn";
  save_mode = 1;
  SaveScanA();
  const std::vector<std::string> l = test::FileLines(path);
  ASSERT_GT(l.size(), 6u);
  EXPECT_EQ(std::stoi(l[2]), n);
  EXPECT_NEAR(ParseNumber(l[3]), 2, 1e-9) << "start";
  EXPECT_NEAR(ParseNumber(l[4]), 20, 1e-9) << "end";
  EXPECT_NEAR(ParseNumber(l[5]), 0.5, 1e-9) << "step";

  save_mode = 1;
  LoadScanA();
  ASSERT_EQ(vna_status, 0);
  EXPECT_EQ(scanA_npoints, n);
  EXPECT_NEAR(start_freq, 2, 1e-9);
  EXPECT_NEAR(end_freq, 20, 1e-9);
  EXPECT_NEAR(scanA_freq[n - 1], 20, 1e-6);
  test::SaveMainWindowPng("stored_consumers_kept_scan_loaded");
}

// A rescan halted before its first reading measured nothing: the noise
// filter has no rescan to clean, and leaves the stored scan of the earlier
// limits as it was measured.
TEST_F(StoredScanConsumers, ARescanThatMeasuredNothingFiltersNothing) {
  Begin();
  Calibrate(4.8, 5.2, 0.01);
  Sim().SetDut("series:r=10,l=100u,c=10p");
  ScanButton(4.8, 5.2, 0.01);
  ASSERT_EQ(vna_status, 0);
  const int n = scanA_npoints;
  ASSERT_GE(n, 40);
  const std::vector<double> zmag(readA_zmag, readA_zmag + n), phase(readA_phase, readA_phase + n);
  for (int filter : {1, 2}) {
    SCOPED_TRACE(filter);
    dsp_filter = filter;
    testhook::Answer centre;
    centre.caption = "Enter Center Freq (0=Don't rescan)";
    centre.texts = {{1, "5"}};
    centre.press = 2;
    testhook::QueueAnswer(centre);
    testhook::Answer width = centre;
    width.caption = "Scan Half-Width";
    width.texts = {{1, "0.1"}};
    testhook::QueueAnswer(width);
    scanloop = -1;
    bool halted = false;
    testhook::SetPumpHook([&] {
      if (halted || !ScanAInProgress() || scanloop != 0) return;
      halted = true;
      DispatchCommand(kBtnHalt);
    });
    RescanCenter();
    testhook::SetPumpHook(nullptr);
    ASSERT_TRUE(halted);
    EXPECT_EQ(scanA_npoints, n);
    EXPECT_EQ(std::vector<double>(readA_zmag, readA_zmag + n), zmag);
    EXPECT_EQ(std::vector<double>(readA_phase, readA_phase + n), phase);
  }
}

}  // namespace
}  // namespace vna
