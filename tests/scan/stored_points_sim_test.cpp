// What a stored scan holds and gives back against the simulator: a scan
// stopped before the end of its list (Halt, the instrument lost) is saved and
// loaded back with the points it measured only; each port replays and saves
// its own points whatever the other port's scan left; a band scan leaves no
// Port A scan to save.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "instrument/measurement_reply.h"
#include "graph/redraw.h"
#include "instrument/link_lost.h"
#include "platform/serial.h"
#include "scan/band_scan.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/scan_sim.h"
#include "scan/stored_scan_files.h"
#include "shell/commands.h"

namespace vna {
namespace {

constexpr const char* kEndOfData = "end of data  //92313";

using test::FileLines;
using test::FileScanA;
using test::FileScanB;
using test::ReadScanA;
using test::ReadScanB;
using test::StoredB;
using test::TakeStoredB;

class StoredPoints : public ScanSim {
 protected:
  void TearDown() override {
    bandscan_mode = 0;  // else a later Rescan would be a band scan
    ScanSim::TearDown();
  }
  std::string Path(const std::string& name) const { return Folder() + "/" + name; }
  // Both ports calibrated over 1 to 3 MHz, in Port B mode.
  void BeginBothPorts() {
    Begin();
    Calibrate(1, 3.05, 0.05);
    PortBMode();
    CalibrateThrough(1, 3, 0.01);
  }

  // x of a frequency on the main graph.
  static int XOf(double f) { return Rnd((f - graph_start) * px_per_MHz + graph_left); }
  // The rightmost column of the plot box holding a pixel of `color`.
  static int LastColumnOf(int color) {
    int last = -1;
    for (int x = graph_left; x <= graph_right; ++x) {
      for (int y = graph_top; y <= graph_bottom; ++y) {
        if (ReadPixel(main_win, x, y) == color) {
          last = x;
          break;
        }
      }
    }
    return last;
  }
};

// How a scan comes to stop before the end of its list.
enum class Stop { kHalt, kLost };

class UnmeasuredPoints : public StoredPoints, public ::testing::WithParamInterface<Stop> {
 protected:
  void TearDown() override {
    SetSerialLostHandler(nullptr);
    StoredPoints::TearDown();
  }
};
INSTANTIATE_TEST_SUITE_P(HaltOrLost, UnmeasuredPoints, ::testing::Values(Stop::kHalt, Stop::kLost),
                         [](const auto& info) {
                           return std::string(info.param == Stop::kHalt ? "Halt"
                                                                        : "LostInstrument");
                         });

// The scan draws the rest of its list dotted with the last reading; the
// auto-save, a Save and the exit save hold the measured points only, and a
// file loaded back shows only those.
TEST_P(UnmeasuredPoints, NeitherReachAFileNorComeBackFromIt) {
  Begin();
  Calibrate(1, 10.05, 0.05);
  Sim().SetDut("series:r=10,l=10u,c=100p");
  if (GetParam() == Stop::kLost) {
    WatchForLostInstrument();
    testhook::QueueMsgBoxAnswer(kIdOk, " VNA connection lost");
  }
  int stopped_at = -1;
  Watch([&] {
    if (scan_running != 1 || scanloop < 60) return false;
    stopped_at = scanloop;
    if (GetParam() == Stop::kHalt) {
      DispatchCommand(kBtnHalt);
    } else {
      Sim().Stop();  // the instrument goes away in the middle of the scan
    }
    return true;
  });
  ScanButton(1, 10, 0.05);
  test::SaveMainWindowPng(GetParam() == Stop::kHalt ? "halted_scan" : "lost_scan");
  ASSERT_GT(stopped_at, 0);
  const int listed = Numscanpts;
  ASSERT_GT(listed, stopped_at + 20);
  EXPECT_EQ(scana_ok, 1);

  // The automatic save, a dialog save and the exit save.
  testhook::QueueFileAnswer(Path("mine.scn"));
  save_mode = 0;
  SaveScanA();
  save_mode = 1;
  SaveScanA();
  const FileScanA saved = ReadScanA(Path("ZiviRURGraph1.scn"));
  // The point being read when the scan was stopped may still have been read.
  EXPECT_GE(saved.count, stopped_at);
  EXPECT_LE(saved.count, stopped_at + 1);
  const int m = saved.count;
  ASSERT_GT(m, 2);
  ASSERT_EQ(static_cast<int>(saved.freq.size()), m);
  EXPECT_EQ(saved.after_points, kEndOfData);
  for (int k = 0; k < m; ++k) {
    EXPECT_NEAR(saved.freq[k], scanA_freq[k], 1e-7) << k;
    EXPECT_NEAR(saved.zmag[k], readA_zmag[k], 1e-6 * readA_zmag[k]) << k;
  }
  // Every point in the file was read: no reading stands twice.
  EXPECT_NE(saved.zmag[m - 1], saved.zmag[m - 2]);
  for (const char* name : {"mine.scn", "ZiviRURGraph.scn"}) {
    const FileScanA other = ReadScanA(Path(name));
    EXPECT_EQ(other.count, m) << name;
    EXPECT_EQ(other.zmag, saved.zmag) << name;
  }

  // Loaded back (the next start), the graph ends at the last measured point.
  test::ClearScanArrays();
  scana_ok = 0;
  save_mode = 1;
  scan_load_mode = 0;
  LoadScanA();
  test::SaveMainWindowPng(GetParam() == Stop::kHalt ? "halted_scan_loaded" : "lost_scan_loaded");
  EXPECT_EQ(Numscanpts, m);
  EXPECT_EQ(scan_npoints, m);
  EXPECT_EQ(scanA_npoints, m);
  const int zmag_color = cycle_colors[color_index];
  EXPECT_NEAR(LastColumnOf(zmag_color), XOf(saved.freq[m - 1]), 2);

  if (GetParam() == Stop::kLost) sim_.reset();  // nothing left to ask it
}

// The same for a halted Port B scan: its file counts the points read, the
// record after them (the layout's extra one) and its companion row hold
// zeros, and the file loads back with those points only.
TEST_F(StoredPoints, HaltedPortBScanSavesTheMeasuredPointsOnly) {
  BeginBothPorts();
  Sim().SetDutB("atten:db=6");
  int stopped_at = -1;
  Watch([&] {
    if (scan_running != 1 || scanloop < 60) return false;
    stopped_at = scanloop;
    DispatchCommand(kBtnHalt);
    return true;
  });
  ScanButton(1, 3, 0.01);
  test::SaveMainWindowPng("halted_port_b_scan");
  ASSERT_GT(stopped_at, 0);
  ASSERT_GT(Numscanpts, stopped_at + 20);
  EXPECT_EQ(scanb_ok, 1);
  EXPECT_EQ(s21_dB[Numscanpts - 1], s21_dB[stopped_at - 1]);  // the rest repeats, dotted

  const FileScanB saved = ReadScanB(Path("ZiviRURGraphB1.scnb"));
  const int m = saved.count;
  EXPECT_GE(m, stopped_at);
  EXPECT_LE(m, stopped_at + 1);
  ASSERT_EQ(static_cast<int>(saved.freq.size()), m + 1);
  for (int k = 0; k < m; ++k) EXPECT_NEAR(saved.s21[k], s21_dB[k], 1e-6) << k;
  EXPECT_NEAR(saved.freq[m], scanB_freq[m], 1e-7);
  EXPECT_EQ(saved.s21[m], 0);  // no reading in the record after the points
  const std::vector<std::string> csv = FileLines(Path("ZiviRURGraphB1_B.csv"));
  ASSERT_EQ(static_cast<int>(csv.size()), 5 + m + 1);
  EXPECT_EQ(csv.back().substr(csv.back().find(',')), ",  0,  0,  0");

  test::ClearScanArrays();
  scanb_ok = 0;
  save_mode = 10;
  msg_text = "1";
  LoadScanB();
  EXPECT_EQ(scanB_npoints, m);
  EXPECT_EQ(scan_npoints, m);
}

// A Port A scan of 20 points and a Port B scan of 200 over the same limits:
// each port's replay, file and load keep to that port's own points.
TEST_F(StoredPoints, EachPortReplaysAndSavesItsOwnPoints) {
  BeginBothPorts();
  PortB_on = 0;
  Sim().SetDut("r=75");
  Sim().SetDutB("atten:db=6");
  ScanButton(1, 2, 0.05);
  ASSERT_EQ(vna_status, 0);
  const int points_a = Numscanpts;
  ASSERT_GE(points_a, 20);
  const std::vector<double> swr_a(scanA_swr, scanA_swr + points_a);

  PortB_on = 1;
  ScanButton(1, 2, 0.005);
  ASSERT_EQ(vna_status, 0);
  const int points_b = Numscanpts;
  ASSERT_GE(points_b, 9 * points_a);

  // Back to Port A: its 20 points are drawn again, and nothing after them.
  DispatchCommand(kBtnPortAB);
  ASSERT_EQ(PortB_on, 0);
  test::SaveMainWindowPng("port_a_after_port_b");
  EXPECT_EQ(scan_npoints, points_a);
  EXPECT_EQ(Numscanpts, points_a);
  for (int k = 0; k < points_a; ++k) EXPECT_NEAR(scanA_swr[k], swr_a[k], 1e-9) << k;
  EXPECT_NEAR(min_swr, 1.5, 0.015);
  EXPECT_EQ(resonance_freqs[0], -1);
  const int zmag_color = cycle_colors[color_index];
  EXPECT_NEAR(LastColumnOf(zmag_color), XOf(scanA_freq[points_a - 1]), 2);

  // A live Port A scan, then back to Port B: its 200 points.
  ScanButton(1, 2, 0.05);
  DispatchCommand(kBtnPortAB);
  ASSERT_EQ(PortB_on, 1);
  EXPECT_EQ(scan_npoints, points_b);
  EXPECT_EQ(Numscanpts, points_b);

  // The exit saves each port's own scan, and each loads back whole.
  save_mode = 1;
  SaveScanA();
  save_mode = 1;
  SaveScanB();
  const FileScanA a = ReadScanA(Path("ZiviRURGraph.scn"));
  EXPECT_EQ(a.count, points_a);
  EXPECT_EQ(a.after_points, kEndOfData);
  const FileScanB b = ReadScanB(Path("ZiviRURGraphB.scnb"));
  EXPECT_EQ(b.count, points_b);
  ASSERT_EQ(static_cast<int>(b.freq.size()), points_b + 1);
  EXPECT_NEAR(b.freq[points_b - 1], scanB_freq[points_b - 1], 1e-7);
  PortB_on = 0;
  save_mode = 1;
  LoadScanA();
  EXPECT_EQ(Numscanpts, points_a);
  EXPECT_EQ(scan_npoints, points_a);
}

// A live Port B scan over another list that is refused (no Port B
// calibration; the S11 trace without a Port A calibration) or whose first
// reading fails (the settling read, or the first point's) measures
// nothing: the stored Port B scan keeps its frequencies, readings and count,
// and the exit save and a replay give it back as it was.
TEST_F(StoredPoints, ARefusedOrFailedPortBScanKeepsTheStoredOne) {
  BeginBothPorts();
  Sim().SetDutB("delay:ns=100,db=6");
  ScanButton(1, 2, 0.02);
  ASSERT_EQ(vna_status, 0);
  const StoredB before = TakeStoredB();
  ASSERT_GE(before.count, 50);

  struct Case {
    const char* name;
    std::function<void()> set, reset;
    int status;
  };
  const Case cases[] = {
      {"no Port B calibration", [] { PortB_cal = 0; }, [] { PortB_cal = 1; }, kStatusNotCalibrated},
      {"S11 without a Port A calibration",
       [] {
         PortA_cal = 0;
         plot_s11 = 1;
       },
       [] {
         PortA_cal = 1;
         plot_s11 = 0;
       },
       kStatusS11NotCalibrated},
      {"first reading fails", [this] { Sim().Fault("checksum 1000"); },
       [this] { Sim().Fault("none"); }, kStatusBadChecksums},
      // Below 10 MHz only the scan's own check of the Port A point sees it.
      {"no reference at the first point's Port A reading",
       [this] {
         plot_s11 = 1;
         Sim().Fault("noref 1000");
       },
       [this] {
         plot_s11 = 0;
         Sim().Fault("none");
       },
       kStatusNoPortARef},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.set();
    ScanButton(2, 3, 0.01);
    c.reset();
    EXPECT_EQ(vna_status, c.status);
    EXPECT_TRUE(TakeStoredB() == before);
    EXPECT_EQ(Numscanpts, before.count);
    EXPECT_EQ(scanb_ok, 1);

    std::filesystem::remove(Path("ZiviRURGraphB.scnb"));
    save_mode = 1;
    SaveScanB();
    const FileScanB saved = ReadScanB(Path("ZiviRURGraphB.scnb"));
    EXPECT_EQ(saved.count, before.count);
    ASSERT_EQ(static_cast<int>(saved.freq.size()), before.count + 1);
    for (int k = 0; k < before.count; ++k) {
      EXPECT_NEAR(saved.freq[k], before.freq[k], 1e-7) << k;
      EXPECT_NEAR(saved.s21[k], before.s21[k], 1e-6) << k;
    }
    RedrawGraph();
    EXPECT_TRUE(TakeStoredB() == before) << "after the replay";
  }
}

// The S11 trace of a Port B scan reads Port A beside each point; over a list
// other than the stored Port A scan's, those readings never take the place
// of the Port A scan: it replays and saves as it was measured.
TEST_F(StoredPoints, APortBScanWithS11LeavesThePortAScanAlone) {
  BeginBothPorts();
  PortB_on = 0;
  Sim().SetDut("series:r=10,l=10u,c=100p");
  ScanButton(1, 3, 0.05);
  ASSERT_EQ(vna_status, 0);
  const int n = scanA_npoints;
  ASSERT_EQ(n, 41);
  const std::vector<double> zmag(readA_zmag, readA_zmag + n), phase(readA_phase, readA_phase + n);
  const std::vector<double> swr(scanA_swr, scanA_swr + n);

  PortB_on = 1;
  plot_s11 = 1;
  Sim().SetDutB("atten:db=6");
  ScanButton(2, 3, 0.01);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(scanB_npoints, 101);

  DispatchCommand(kBtnPortAB);  // back to Port A: its scan replayed
  ASSERT_EQ(PortB_on, 0);
  EXPECT_EQ(std::vector<double>(readA_zmag, readA_zmag + n), zmag);
  EXPECT_EQ(std::vector<double>(readA_phase, readA_phase + n), phase);
  for (int k = 0; k < n; ++k) EXPECT_NEAR(scanA_swr[k], swr[k], 1e-9) << k;
  save_mode = 1;
  SaveScanA();
  const FileScanA saved = ReadScanA(Path("ZiviRURGraph.scn"));
  ASSERT_EQ(saved.count, n);
  for (int k = 0; k < n; ++k) EXPECT_NEAR(saved.zmag[k], zmag[k], 1e-6 * zmag[k]) << k;
}

// A band scan writes its levels over the Port A arrays: "Save Port A Graph"
// then says there is no Port A scan, asks for no file and writes none.
TEST_F(StoredPoints, AfterABandScanThereIsNoPortAScanToSave) {
  Begin();
  Calibrate(1, 3.05, 0.05);
  Sim().SetDut("series:r=10,l=10u,c=100p");
  ScanButton(1, 2, 0.05);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(scana_ok, 1);
  bandscan_sens = 1;
  BandScan();
  ASSERT_EQ(bandscan_mode, 1);
  ASSERT_GT(scanloop, 100);  // the levels arrived
  // A title: no comment is asked for.
  PortA_title = "after the band scan";
  testhook::ClearLogs();
  const auto files_before = std::distance(std::filesystem::directory_iterator(Folder()), {});
  DispatchCommand(2);  // Save Port A Graph
  EXPECT_TRUE(testhook::FileDialogs().empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), files_before);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Save Port A Graph");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "There is no measured Port A scan to save.");
}

}  // namespace
}  // namespace vna
