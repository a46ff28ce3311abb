// Against the simulator, with instrument faults injected part way through a
// scan as a loose cable brings them: a reading that fails is neither drawn
// nor stored as a measured point, the scan keeps its status, and everything
// made from a stored scan afterwards (results, filters, mean delay, marker
// rows, cursor readout, files) is made from the points it measured.
#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "graph/cursor_readout.h"
#include "graph/marker_window.h"
#include "graph/markers.h"
#include "instrument/measurement_reply.h"
#include "scan/noise_filters.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/scan_sim.h"
#include "scan/stored_scan_files.h"
#include "shell/commands.h"
#include "shell/dialogs.h"
#include "shell/setup_dialogs.h"
#include "shell/mailbox.h"

namespace vna {
namespace {

using test::FileLines;
using test::FileScanA;
using test::ReadScanA;
using test::StoredB;
using test::TakeStoredB;

// |Z| of a series R-L-C at f MHz (c 0: no capacitor).
double SeriesZ(double f, double r, double l, double c) {
  const double w = 2 * M_PI * f * 1e6;
  const double x = w * l - (c > 0 ? 1 / (w * c) : 0);
  return std::hypot(r, x);
}

class MeasuredPoints : public ScanSim {
 protected:
  void TearDown() override {
    StopWatch();
    ScanSim::TearDown();
  }
  std::string Path(const std::string& name) const { return Folder() + "/" + name; }

  // Presses Halt once the running scan stored `at` points; returns where.
  void HaltAt(int at, int& stopped_at) {
    scanloop = 0;
    stopped_at = -1;
    Watch([this, at, &stopped_at] {
      if (scan_running != 1 || scanloop < at) return false;
      stopped_at = scanloop;
      DispatchCommand(kBtnHalt);
      return true;
    });
  }
  static int Boxes(const std::string& caption) {
    int n = 0;
    for (const auto& b : testhook::MsgBoxes()) n += b.caption == caption;
    return n;
  }
  // Pixels of `color` in the plot box below row y.
  static int PixelsBelow(int y, int color) {
    int n = 0;
    for (int x = graph_left; x <= graph_right; ++x)
      for (int yy = y; yy <= graph_bottom; ++yy) n += ReadPixel(main_win, x, yy) == color;
    return n;
  }
};

// An inductor scanned 11 to 60 MHz; the reference lost, or every signal
// gone, after 20 points. The failed point is neither stored nor drawn, no
// resonance is found in what was measured, the cursor reads measured points
// only, and the scan keeps the reading's status.
TEST_F(MeasuredPoints, PortAReadingThatFailsPartWayIsNoMeasuredPoint) {
  Begin();
  Calibrate(11, 60.5, 0.5);
  Sim().SetDut("series:r=10,l=1u");
  plot_ZphaseA = 1;
  plot_swrA = 1;
  struct Case {
    const char* fault;
    int status;
  };
  // Above 10 MHz the reading itself finds the reference missing (every word
  // 0) or too weak to fit (the reference channel dead, its bias gone too).
  const Case cases[] = {{"nosignal", kStatusNoReference}, {"noref", kStatusWeakReference}};
  for (const Case& c : cases) {
    const std::string fault = c.fault;
    SCOPED_TRACE(fault);
    Sim().Fault("none");
    testhook::ClearLogs();
    FaultAt(20, fault);
    ScanButton(11, 60, 0.5);
    Sim().Fault("none");
    test::SaveMainWindowPng("port_a_failed_part_way_" + fault);
    EXPECT_EQ(vna_status, c.status);
    const int n = scanA_npoints;
    EXPECT_GE(n, 20);
    EXPECT_LT(n, Numscanpts) << "the scan ends at the failed point";
    EXPECT_EQ(scan_npoints, n);
    // Every stored point is the inductor: phase above 80 degrees, |Z| its own.
    for (int k = 0; k < n; ++k) {
      EXPECT_GT(readA_phase[k] * 57.296, 80) << scanA_freq[k];
      EXPECT_NEAR(readA_zmag[k], SeriesZ(scanA_freq[k], 10, 1e-6, 0), 0.02 * readA_zmag[k])
          << scanA_freq[k];
    }
    EXPECT_EQ(resonance_freqs[0], -1);
    EXPECT_EQ(testhook::PrintedText("main_win").find("Resonant freq"), std::string::npos);
    // No phase point below +45 degrees was drawn (the failed reading's
    // phase was -90).
    const int y45 = Rnd(graph_zero_y - 45 * phase_yscale);
    EXPECT_EQ(PixelsBelow(y45, Magenta), 0);
    // The cursor over the part of the list that was not measured shows no
    // failed value.
    for (double f : {scanA_freq[n - 1], scanA_freq[n - 1] + 3, 59.0}) {
      cursor_x = 0;
      cursor_phase = 1000;
      CursorReadout(Rnd(graph_left + (f - graph_start) * px_per_MHz),
                    (graph_top + graph_bottom) / 2);
      EXPECT_TRUE(cursor_phase == 1000 || cursor_phase > 80) << f << ": " << cursor_phase;
    }
    // The auto-save holds the measured points.
    const FileScanA saved =
        ReadScanA(Path(autosave_flipA == 1 ? "ZiviRURGraph1.scn" : "ZiviRURGraph0.scn"));
    EXPECT_EQ(saved.count, n);
  }
}

// Below 10 MHz no reading reports a missing reference: the scan's own check
// sees it. The scan stops there, and the stored scan holds what it counts.
TEST_F(MeasuredPoints, PortANoReferenceStopLeavesACountThatMatchesTheArrays) {
  Begin();
  Calibrate(1, 10.05, 0.05);
  Sim().SetDut("r=75");
  ScanButton(5, 9.5, 0.05);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(scanA_npoints, Numscanpts);
  Sim().SetDut("series:r=10,l=1u");
  testhook::ClearLogs();
  FaultAt(20, "noref");
  ScanButton(1, 9, 0.05);
  Sim().Fault("none");
  EXPECT_EQ(vna_status, kStatusScanNoReference);
  const int n = scanA_npoints;
  EXPECT_GE(n, 20);
  EXPECT_LT(n, 60);
  EXPECT_NEAR(scanA_freq[0], 1, 1e-9);
  for (int k = 0; k < n; ++k) {
    EXPECT_NEAR(scanA_freq[k], 1 + 0.05 * k, 1e-6) << k;
    EXPECT_NEAR(readA_zmag[k], SeriesZ(scanA_freq[k], 10, 1e-6, 0), 0.03 * readA_zmag[k]) << k;
  }
  const std::string printed = testhook::PrintedText("main_win");
  EXPECT_NE(printed.find("There is no reference signal from the VNA at"), std::string::npos);
  save_mode = 1;
  SaveScanA();
  const FileScanA saved = ReadScanA(Path("ZiviRURGraph.scn"));
  EXPECT_EQ(saved.count, n);
  ASSERT_EQ(static_cast<int>(saved.zmag.size()), n);
  EXPECT_NEAR(saved.zmag[n - 1], readA_zmag[n - 1], 1e-6 * readA_zmag[n - 1]);
}

// The noise filters after a rescan halted a third of the way fit the points
// measured, not the repeated rest: the filtered curve stays on the device's
// own |Z|, in the replay and in the exit save.
TEST_F(MeasuredPoints, NoiseFiltersAfterAHaltedRescanFitTheMeasuredPoints) {
  Begin();
  Calibrate(4.8, 5.2, 0.01);
  // A series circuit resonant at 5 MHz: over the rescan of 4.9 to 5.1 MHz
  // |Z| falls from about 125 ohms to 10 and rises again; halted a third of
  // the way, it is still falling steeply.
  const double r = 10, l = 100e-6, c = 1 / (std::pow(2 * M_PI * 5e6, 2) * l);
  SetDigits(4);
  Sim().SetDut("series:r=10,l=100u,c=" + NumStr(c * 1e12).substr(1) + "p");
  for (int filter : {1, 2}) {
    SCOPED_TRACE(filter);
    start_freq = 4.8;
    end_freq = 5.2;
    delta_freq = 0.01;
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
    int stopped_at = -1;
    HaltAt(67, stopped_at);
    RescanCenter();
    StopWatch();
    test::SaveMainWindowPng("filter_after_halted_rescan_" + NumStr(filter));
    ASSERT_GT(stopped_at, 0);
    const int n = scanA_npoints;
    EXPECT_GE(n, stopped_at);
    EXPECT_LE(n, stopped_at + 1);
    EXPECT_EQ(Numscanpts, n) << "the replay draws the measured points";
    ASSERT_GT(n, 20);
    for (int k : {n / 2, n - 3, n - 1}) {
      const double want = SeriesZ(scanA_freq[k], r, l, c);
      EXPECT_NEAR(readA_zmag[k], want, 0.03 * want) << scanA_freq[k];
    }
    save_mode = 1;
    SaveScanA();
    const FileScanA saved = ReadScanA(Path("ZiviRURGraph.scn"));
    EXPECT_EQ(saved.count, n);
    ASSERT_EQ(static_cast<int>(saved.zmag.size()), n);
    const double want = SeriesZ(saved.freq[n - 1], r, l, c);
    EXPECT_NEAR(saved.zmag[n - 1], want, 0.03 * want);
  }
}

class MeasuredPointsB : public MeasuredPoints {
 protected:
  // Port B mode with a through calibration over 1 to 61 MHz.
  void BeginB() {
    Begin();
    CalibrateThrough(1, 61, 0.5);
    PortBMode();
  }
  // A clean scan of a 6 dB attenuator over 2 to 20 MHz: the stored scan a
  // later scan that measures nothing leaves alone.
  StoredB ScanToKeep() {
    Sim().SetDutB("atten:db=6");
    ScanButton(2, 20, 0.5);
    EXPECT_EQ(vna_status, 0);
    const StoredB kept = TakeStoredB();
    EXPECT_EQ(kept.count, 37);
    return kept;
  }
};

// The mean delay of a 100 ns line comes from the points measured, whether
// the scan ran whole, was halted or failed part way; "Null the Delay" then
// takes that delay out of every later Port B phase.
TEST_F(MeasuredPointsB, MeanDelayOfAHaltedOrFailedScanCountsMeasuredPointsOnly) {
  BeginB();
  Sim().SetDutB("delay:ns=100,db=6");
  ScanButton(11, 60, 0.5);
  ASSERT_EQ(vna_status, 0);
  const double whole = avg_delay;
  EXPECT_NEAR(std::fabs(whole), 100e-9, 2e-9);

  int stopped_at = -1;
  HaltAt(67, stopped_at);
  ScanButton(11, 60, 0.5);
  StopWatch();
  ASSERT_GT(stopped_at, 0);
  EXPECT_EQ(vna_status, 0);
  EXPECT_LT(scanB_npoints, Numscanpts);
  EXPECT_NEAR(avg_delay, whole, 2e-9) << "halted";

  testhook::QueueMsgBoxAnswer(kIdIgnore, " Hardware Reset");
  FaultAt(40, "silence 1");
  ScanButton(11, 60, 0.5);
  Sim().Fault("none");
  EXPECT_EQ(vna_status, kStatusNoData);
  EXPECT_LT(scanB_npoints, Numscanpts);
  EXPECT_NEAR(avg_delay, whole, 2e-9) << "failed";

  // "Null the Delay" in the delay-time dialog, then a new scan: flat phase.
  delay_offset = 0;
  testhook::Answer null_it;
  null_it.caption = "  Delay time (sec, msec, usec, nsec)";
  null_it.press = 3;
  testhook::QueueAnswer(null_it);
  EnterDelayOffset();
  EXPECT_NEAR(delay_offset, whole, 2e-9);
  ScanButton(11, 60, 0.5);
  ASSERT_EQ(vna_status, 0);
  EXPECT_NEAR(avg_delay, 0, 2e-9);
  delay_offset = 0;
}

// A dead reference below 10 MHz: no point of the scan has a reading, at any
// frequency. Dead from the start, the scan measures nothing and the stored
// scan and its auto-save stay; dead part way, the scan ends there.
TEST_F(MeasuredPointsB, DeadReferenceBelowTenMegahertzIsAFailure) {
  BeginB();
  const StoredB before = ScanToKeep();
  const std::string next_save =
      Path(autosave_flipB == 1 ? "ZiviRURGraphB0.scnb" : "ZiviRURGraphB1.scnb");
  std::filesystem::remove(next_save);

  testhook::ClearLogs();
  Sim().Fault("noref");
  ScanButton(1, 60, 1);
  Sim().Fault("none");
  EXPECT_EQ(vna_status, kStatusScanNoReference);
  EXPECT_TRUE(TakeStoredB() == before);
  EXPECT_EQ(scanb_ok, 1);
  EXPECT_FALSE(std::filesystem::exists(next_save)) << "nothing measured, nothing auto-saved";

  FaultAt(6, "noref");
  ScanButton(1, 9.5, 0.1);
  Sim().Fault("none");
  EXPECT_EQ(vna_status, kStatusScanNoReference);
  const int n = scanB_npoints;
  EXPECT_GE(n, 6);
  EXPECT_LT(n, Numscanpts);
  for (int k = 0; k < n; ++k) EXPECT_NEAR(s21_dB[k], -6, 0.3) << scanB_freq[k];
}

// A Halt before the Port B scan's first reading leaves the stored Port B
// scan as it was; Save then writes it.
TEST_F(MeasuredPointsB, HaltBeforeTheFirstReadingKeepsTheStoredScan) {
  BeginB();
  const StoredB before = ScanToKeep();

  scanloop = -1;
  bool halted = false;
  testhook::SetPumpHook([&] {
    if (halted || !ScanBInProgress() || scanloop != 0) return;
    halted = true;
    DispatchCommand(kBtnHalt);
  });
  ScanButton(30, 40, 0.1);
  testhook::SetPumpHook(nullptr);
  ASSERT_TRUE(halted);
  EXPECT_TRUE(TakeStoredB() == before);
  EXPECT_EQ(scanb_ok, 1);
  EXPECT_EQ(scan_npoints, 0) << "this scan measured nothing";

  std::filesystem::remove(Path("ZiviRURGraphB.scnb"));
  save_mode = 1;
  SaveScanB();
  EXPECT_TRUE(std::filesystem::exists(Path("ZiviRURGraphB.scnb")));
  const std::vector<std::string> l = FileLines(Path("ZiviRURGraphB.scnb"));
  ASSERT_GT(l.size(), 3u);
  EXPECT_EQ(std::stoi(l[2]), before.count);

  // The same for Port A.
  PortB_on = transmission_mode = 0;
  relayA = relayB = 1;
  ProgRelay(3);  // as a calibration switches them on
  Calibrate(1, 61, 0.5);
  Sim().SetDut("r=75");
  ScanButton(2, 20, 0.5);
  ASSERT_EQ(vna_status, 0);
  const int count_a = scanA_npoints;
  const std::vector<double> zmag_a(readA_zmag, readA_zmag + count_a);
  Sim().SetDut("r=150");
  scanloop = -1;
  halted = false;
  testhook::SetPumpHook([&] {
    if (halted || !ScanAInProgress() || scanloop != 0) return;
    halted = true;
    DispatchCommand(kBtnHalt);
  });
  ScanButton(30, 40, 0.1);
  testhook::SetPumpHook(nullptr);
  ASSERT_TRUE(halted);
  EXPECT_EQ(scanA_npoints, count_a);
  EXPECT_NEAR(scanA_freq[count_a - 1], 20, 1e-6);
  EXPECT_EQ(std::vector<double>(readA_zmag, readA_zmag + count_a), zmag_a);
  EXPECT_EQ(scana_ok, 1);
  EXPECT_EQ(scan_npoints, 0);
}

// Port B marker rows read the stored Port B scan at the marker's frequency,
// whatever start and step a Port A scan left since.
TEST_F(MeasuredPointsB, PortBMarkerRowsReadTheStoredScanAtTheirFrequency) {
  Begin();
  Calibrate(1, 3.05, 0.05);
  PortBMode();
  CalibrateThrough(1, 3, 0.01);
  Sim().SetDutB("delay:ns=100,db=6");
  ScanButton(1, 3, 0.01);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(scanB_npoints, 201);
  // The S21 the scan stored at 1.5, 2.25 and 2.9 MHz.
  std::vector<double> want_db, want_deg;
  ClearMarkers();
  const double marks[] = {1.5, 2.25, 2.9};
  for (int i = 0; i < 3; ++i) {
    markers[i + 1].Freq = marks[i];
    const int k = Rnd((marks[i] - 1) / 0.01);
    ASSERT_NEAR(scanB_freq[k], marks[i], 1e-6);
    want_db.push_back(s21_dB[k]);
    want_deg.push_back(scanB_phase[k] * 57.296);
  }
  // A Port A scan over other limits and step, then back to Port B.
  PortB_on = 0;
  Sim().SetDut("r=75");
  ScanButton(1.2, 3, 0.05);
  ASSERT_EQ(vna_status, 0);
  DispatchCommand(kBtnPortAB);
  ASSERT_EQ(PortB_on, 1);
  testhook::SetPumpHook([] {
    if (markerwin_open == 0 || !marker_win.IsOpen()) return;
    testhook::SetPumpHook(nullptr);
    PostEvent(marker_win, kEvCommand, 3175);
  });
  MarkerData_A();
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(markers[i + 1].s21mag, want_db[i], 1e-6) << marks[i];
    EXPECT_NEAR(markers[i + 1].s21phase, want_deg[i], 1e-4) << marks[i];
  }
}

// A scan that ends on the calibration's last record measures that point, on
// each model at its maximum frequency: in the stored scan, its file and
// the mailbox's CSV.
TEST_P(ScanSimModels, ScanToTheCalibrationsLastRecordMeasuresIt) {
  Begin();
  const bool uhf = std::string(GetParam()) == "uhf";
  const double top = uhf ? 1200 : 180;
  Calibrate(top - 10, top, 0.5);
  ASSERT_EQ(cal_end_freq, top);
  Sim().SetDut("r=75");
  ScanButton(top - 4, top, 0.5);
  test::SaveMainWindowPng(Png("scan_to_the_top"));
  EXPECT_EQ(vna_status, 0);
  ASSERT_NEAR(scanA_freq[Numscanpts - 1], top, 1e-6) << "the list ends at the top";
  EXPECT_EQ(scanA_npoints, Numscanpts);
  EXPECT_EQ(ControlCsvPoints(), Numscanpts);
  EXPECT_NEAR(readA_zmag[Numscanpts - 1], 75, 1.5);
  const FileScanA saved = ReadScanA(Folder() + "/ZiviRURGraph1.scn");
  EXPECT_EQ(saved.count, Numscanpts);
  ASSERT_FALSE(saved.freq.empty());
  EXPECT_NEAR(saved.freq.back(), top, 1e-6);

  // Port B over the same calibration, ending on its last record.
  PortBMode();
  relayA = relayB = 1;
  ProgRelay(3);
  CalibrateThrough(top - 10, top, 0.5);
  cal_end_freq = top;
  Sim().SetDutB("atten:db=6");
  ScanButton(top - 4, top, 0.5);
  EXPECT_EQ(vna_status, 0);
  ASSERT_NEAR(scanB_freq[Numscanpts - 1], top, 1e-6);
  EXPECT_EQ(scanB_npoints, Numscanpts);
  EXPECT_EQ(ControlCsvPoints(), Numscanpts);
  EXPECT_NEAR(s21_dB[Numscanpts - 1], -6, 0.3);
}

// An overload, or an instrument gone silent, part way through a scan is
// said once: one box for the scan, whichever port, on both models (the
// commands after the scan read nothing more); the scan ends with the
// failure's status and keeps the points it measured before it.
TEST_P(ScanSimModels, AFailurePartWayThroughAScanIsSaidOnce) {
  Begin();
  Calibrate(1, 61, 0.5);
  PortB_on = 1;
  CalibrateThrough(1, 61, 0.5);
  cal_end_freq = 61;
  Sim().SetDut("r=75");
  Sim().SetDutB("atten:db=6");
  struct Case {
    const char* fault;
    const char* caption;
    int status;
  };
  const Case cases[] = {{"overload", "  RF INPUT OVERLOAD ", kStatusOverload},
                        {"silence", " Hardware Reset", kStatusNoData}};
  for (const Case& c : cases) {
    for (int port : {0, 1}) {
      SCOPED_TRACE(std::string(c.fault) + (port == 0 ? ", Port A" : ", Port B"));
      if (port == 0) {
        PortB_on = transmission_mode = 0;
      } else {
        PortBMode();
      }
      Sim().Fault("none");
      testhook::ClearLogs();
      // Ignore: the program goes on with the instrument.
      if (c.status == kStatusNoData) testhook::QueueMsgBoxAnswer(kIdIgnore, c.caption);
      FaultAt(20, c.fault);
      ScanButton(11, 60, 0.5);
      Sim().Fault("none");
      test::SaveMainWindowPng(Png(std::string(c.fault) + (port == 0 ? "_port_a" : "_port_b")));
      EXPECT_EQ(vna_status, c.status);
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
      EXPECT_EQ(testhook::MsgBoxes()[0].caption, c.caption);
      const int n = port == 0 ? scanA_npoints : scanB_npoints;
      EXPECT_GE(n, 20);
      EXPECT_LT(n, Numscanpts);
      EXPECT_EQ(relayA + relayB, 0);
    }
  }
}

}  // namespace
}  // namespace vna
