// The Port A scan end to end: the Scan button, the real point reads against
// the simulator and its imperfect bridge, the calibration's correction, the
// graph, the results and the auto-save; Halt and the failures.
#include <cmath>
#include <complex>
#include <fstream>

#include "files/auto_save.h"
#include "graph/redraw.h"
#include "graph/trace_plot.h"
#include "scan/scan_a.h"
#include "scan/scan_sim.h"

namespace vna {
namespace {

constexpr double kL = 10e-6, kC = 100e-12, kR = 10;  // series:r=10,l=10u,c=100p

double SeriesX(double mhz) {
  const double w = 2 * M_PI * mhz * 1e6;
  return w * kL - 1 / (w * kC);
}

// Scan files in the program folder (which also holds the config and the
// instrument's identification).
long ScanFiles(const std::string& folder) {
  long n = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    n += e.path().extension() == ".scn";
  return n;
}

bool HasCommand(const std::vector<Command>& sent, const Command& c) {
  return std::find(sent.begin(), sent.end(), c) != sent.end();
}

// Also the rescan tests of rescan_sim_test.cpp.
INSTANTIATE_TEST_SUITE_P(BothModels, ScanSimModels, ::testing::Values("uhf", "7306"),
                         [](const auto& info) { return std::string(info.param); });

TEST_P(ScanSimModels, SeriesCircuitResonanceAndMinimumSwr) {
  Begin();
  Calibrate(1, 10.05, 0.05);
  Sim().SetDut("series:r=10,l=10u,c=100p");
  ScanButton(1, 10, 0.05);
  test::SaveMainWindowPng(Png("series_rlc"));
  ASSERT_EQ(vna_status, 0);
  EXPECT_EQ(scana_ok, 1);
  EXPECT_GE(scan_npoints, 180);
  EXPECT_EQ(scan_npoints, Numscanpts);

  const double f0 = 1 / (2 * M_PI * std::sqrt(kL * kC)) / 1e6;  // 5.0329 MHz
  EXPECT_NEAR(resonance_freqs[0], f0, 0.001 * f0);
  EXPECT_EQ(resonance_freqs[1], -1);

  // The lowest SWR lies where the reactance is smallest: 10 ohms against 50.
  int best = 0;
  for (int k = 0; k < scan_npoints - 1; ++k) {
    if (std::fabs(SeriesX(scanA_freq[k])) < std::fabs(SeriesX(scanA_freq[best]))) best = k;
  }
  EXPECT_EQ(min_swr_freq, scanA_freq[best]);
  const double rho = std::abs((std::complex<double>(kR, SeriesX(min_swr_freq)) - 50.0) /
                              (std::complex<double>(kR, SeriesX(min_swr_freq)) + 50.0));
  EXPECT_NEAR(min_swr, (1 + rho) / (1 - rho), 0.01 * min_swr);
  for (int k = 0; k < scan_npoints; ++k) {
    const std::complex<double> want(kR, SeriesX(scanA_freq[k]));
    EXPECT_NEAR(scanA_zmag[k], std::abs(want), 0.01 * std::abs(want)) << scanA_freq[k];
  }

  // The results under the title line, and the scan saved under the first digit.
  bool min_line = false, resonance_line = false;
  for (const auto& p : testhook::Prints()) {
    min_line |= p.text.rfind("Min SWR = ", 0) == 0;
    resonance_line |= p.text.rfind("Resonant freq: ", 0) == 0;
  }
  EXPECT_TRUE(min_line);
  EXPECT_TRUE(resonance_line);
  EXPECT_TRUE(std::filesystem::exists(Folder() + "/ZiviRURGraph1.scn"));
  EXPECT_EQ(autosave_flipA, 1);
}

TEST_P(ScanSimModels, ResistorReadsItsSwrOverTheWholeRange) {
  Begin();
  Calibrate(1, 10.05, 0.05);
  Sim().SetDut("r=75");
  ScanButton(1, 10, 0.05);
  ASSERT_EQ(vna_status, 0);
  ASSERT_GE(scan_npoints, 180);
  for (int k = 0; k < scan_npoints; ++k) {
    EXPECT_NEAR(scanA_swr[k], 1.5, 0.015) << scanA_freq[k];
    EXPECT_NEAR(scanA_Rs[k], 75, 0.75) << scanA_freq[k];
    EXPECT_NEAR(scanA_Xs[k], 0, 0.75) << scanA_freq[k];
  }
  EXPECT_EQ(relayA, 0);  // switched off after the scan
}

// A list that reaches the calibration's last frequency measures that point
// (the calibration holds a record there) and ends with it.
TEST_P(ScanSimModels, TheScanMeasuresTheCalibrationsLastFrequency) {
  Begin();
  Calibrate(1, 3, 0.5);
  ASSERT_EQ(cal_end_freq, 3);
  Sim().SetDut("r=75");
  Sim().Mark("scan");
  ScanButton(1, 3, 0.5);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(Numscanpts, 5);
  // The instrument was last set to 3 MHz, and all five points were stored.
  EXPECT_NEAR(std::stod(Sim().Status("freq")), 3, 1e-6);
  EXPECT_EQ(scan_npoints, 5);
  EXPECT_EQ(scanA_npoints, 5);
  EXPECT_DOUBLE_EQ(scanA_freq[4], 3);
  EXPECT_NEAR(scanA_swr[4], 1.5, 0.015);
}

TEST_P(ScanSimModels, HaltStopsTheReadsAndTheRestRepeatsTheLastReadingDotted) {
  Begin();
  Calibrate(1, 10.05, 0.05);
  Sim().SetDut("series:r=10,l=10u,c=100p");
  int halted_at = -1;
  Watch([&] {
    if (scan_running != 1 || scanloop < 60) return false;
    halted_at = scanloop;
    Sim().Mark("halt");
    DispatchCommand(kBtnHalt);  // as the button does it
    return true;
  });
  Sim().Mark("scan");
  ScanButton(1, 10, 0.05);
  test::SaveMainWindowPng(Png("halted"));
  ASSERT_GT(halted_at, 0);
  ASSERT_LT(halted_at, Numscanpts - 20);
  EXPECT_EQ(vna_status, 0);  // a halt is no failure
  EXPECT_EQ(FreqCommands(SentSince("halt")), 0);
  EXPECT_GT(FreqCommands(sim_->CommandsSince("scan")), halted_at);

  // Every index is stored; from the halt on with the last reading.
  EXPECT_EQ(scana_ok, 1);
  EXPECT_EQ(scan_npoints, Numscanpts);
  const int last = halted_at - 1;
  for (int k = halted_at; k < Numscanpts; ++k) {
    EXPECT_EQ(readA_zmag[k], readA_zmag[last]) << k;
    EXPECT_EQ(scanA_zmag[k], scanA_zmag[last]) << k;
  }
  EXPECT_NE(readA_zmag[last - 1], readA_zmag[last]);

  // The |Z| trace after the halt is one flat dotted line in the cycle colour:
  // along its row some pixels are drawn and some are not; before the halt it
  // is a solid line of two pixels.
  const double f_last = scanA_freq[last];
  const int x0 = Rnd((f_last - graph_start) * px_per_MHz + graph_left) + 3;
  const int y = trace_y[kTraceZmag];
  int on = 0, off = 0;
  for (int x = x0; x < graph_right - 3; ++x) {
    (ReadPixel(main_win, x, y) == cycle_colors[0] ? on : off)++;
  }
  EXPECT_GT(on, 10);
  EXPECT_GT(off, 10);
}

// Keys are ignored while a scan measures; after Halt the scan still runs to
// the end of its list, and the keys are heard again.
TEST_P(ScanSimModels, KeysAfterHaltNeitherStartASecondScanNorLoadOverIt) {
  Begin();
  Calibrate(1, 3.05, 0.05);
  Sim().SetDut("r=75");
  ScanButton(1, 3, 0.05);  // ZiviRURGraph1.scn: the 75 ohm scan
  Sim().SetDut("r=100");
  scanloop = 0;  // as the second scan will start it, before the watcher looks
  bool pressed = false;
  Watch([&] {
    if (scan_running != 1 || scanloop < 20) return false;
    DispatchCommand(kBtnHalt);
    for (int key : {int('S'), int('R'), int('U'), int(kVkUp), int(kVkUp)}) {
      PostEvent(main_win, kEvKeyDown, 0, key);
      PostEvent(main_win, kEvKeyUp, 0, key);
    }
    pressed = true;
    return true;
  });
  Sim().Mark("scan");
  ScanButton(1, 3, 0.05);
  ASSERT_TRUE(pressed);
  EXPECT_NE(readA_zmag[0], readA_zmag[Numscanpts - 1]);  // read before the halt, not repeated
  const std::vector<Command> sent = SentSince("scan");
  EXPECT_EQ(CountOf(sent, 'Y'), 1);  // one loop counter reset: one scan
  EXPECT_LT(FreqCommands(sent), 1.5 * Numscanpts);
  EXPECT_EQ(scan_npoints, Numscanpts);
  for (int k = 0; k < scan_npoints; ++k) EXPECT_NEAR(readA_zmag[k], 100, 1) << k;
}

TEST_P(ScanSimModels, FailedReadKeepsItsStatusPastTheSupplyCheck) {
  Begin();
  Calibrate(1, 3.05, 0.05);
  Sim().SetDut("r=75");
  int failed = 0, failed_at = 0;
  Watch([&] {
    if (scan_running == 1 && scanloop >= 20 && failed == 0) {
      Sim().Fault("checksum 10");  // five damaged replies in a row fail the read
      failed = 1;
      failed_at = scanloop;
    } else if (failed == 1 && scan_running == 0) {
      Sim().Fault("none");  // the supply check after the scan reads well
      return true;
    }
    return false;
  });
  ScanButton(1, 3, 0.05);
  EXPECT_EQ(vna_status, 72);
  EXPECT_EQ(scana_ok, 1);  // the rest repeats the last good reading
  ASSERT_GT(failed_at, 0);
  EXPECT_EQ(readA_zmag[Numscanpts - 1], readA_zmag[failed_at]);
}

TEST_P(ScanSimModels, MissingReferenceStopsTheScanAtOnce) {
  Begin();
  Calibrate(1, 3.05, 0.05);
  Sim().SetDut("r=75");
  Sim().Fault("noref");
  ScanButton(1, 3, 0.05);
  EXPECT_EQ(vna_status, kStatusScanNoReference);
  EXPECT_EQ(scana_ok, 0);
  EXPECT_EQ(scan_running, 0);
  const std::string printed = testhook::PrintedText("main_win");
  EXPECT_NE(printed.find(
                "    ****   There is no reference signal from the VNA at  1 MHz  **** //89237   "),
            std::string::npos)
      << printed;
  EXPECT_FALSE(std::filesystem::exists(Folder() + "/ZiviRURGraph1.scn"));
  Sim().Fault("none");
}

TEST_P(ScanSimModels, UncalibratedScanIsRefusedAndTheStoredScanKept) {
  Begin();
  // A stored scan of 3 points that a refused scan must not disturb.
  Numscanpts = scan_npoints = 3;
  for (int k = 0; k < 3; ++k) {
    scanA_freq[k] = 20 + k;
    readA_zmag[k] = scanA_zmag[k] = 60 + k;
    scanA_swr[k] = 1.2;
  }
  scana_ok = 1;
  Sim().Mark("scan");
  ScanButton(1, 10, 0.05);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Cal Problem  4482");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "The instrument needs to be calibrated.");
  EXPECT_EQ(vna_status, kStatusNotCalibrated);
  EXPECT_EQ(FreqCommands(SentSince("scan")), 0);
  EXPECT_EQ(Numscanpts, 3);
  EXPECT_EQ(scana_ok, 1);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(scanA_freq[k], 20 + k);
    EXPECT_EQ(scanA_zmag[k], 60 + k);
    EXPECT_EQ(scanA_swr[k], 1.2);
  }
  EXPECT_EQ(autosave_flipA, 0);
  EXPECT_EQ(ScanFiles(Folder()), 0);
}

TEST_P(ScanSimModels, BandSkipWithoutABandInTheLimitsMeasuresNothing) {
  Begin();
  PortA_cal = 1;
  bandskip = 1;
  for (int k = 1; k <= 12; ++k) bandskip_start[k] = bandskip_end[k] = 0;
  bandskip_start[1] = 50;
  bandskip_end[1] = 54;
  Numscanpts = 3;
  scanA_freq[2] = 7;
  scana_ok = 1;
  Sim().Mark("scan");
  ScanButton(1, 10, 0.05);
  bandskip = 0;
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Band Skip");
  EXPECT_EQ(vna_status, kStatusEmptyList);
  EXPECT_EQ(FreqCommands(SentSince("scan")), 0);
  EXPECT_EQ(Numscanpts, 3);
  EXPECT_EQ(scanA_freq[2], 7);
  EXPECT_EQ(scana_ok, 1);
}

TEST_P(ScanSimModels, AutoSavesAlternateAndRecallBringsBackTheOlderScan) {
  Begin();
  Calibrate(1, 2.05, 0.05);
  Sim().SetDut("r=75");
  ScanButton(1, 2, 0.05);
  Sim().SetDut("r=100");
  ScanButton(1, 2, 0.05);
  EXPECT_TRUE(std::filesystem::exists(Folder() + "/ZiviRURGraph1.scn"));
  EXPECT_TRUE(std::filesystem::exists(Folder() + "/ZiviRURGraph0.scn"));
  EXPECT_EQ(autosave_flipA, 0);
  EXPECT_NEAR(readA_zmag[0], 100, 1);
  RecallAutoSave(0);
  EXPECT_NEAR(readA_zmag[0], 75, 1);
  EXPECT_NEAR(scanA_swr[5], 1.5, 0.015);  // drawn again from the file
  RecallAutoSave(0);
  EXPECT_NEAR(readA_zmag[0], 100, 1);
  EXPECT_EQ(ScanFiles(Folder()), 2);
}

TEST_P(ScanSimModels, RedrawReplaysWithoutTheInstrument) {
  Begin();
  Calibrate(1, 3.05, 0.05);
  Sim().SetDut("series:r=10,l=10u,c=100p");
  ScanButton(1, 3, 0.05);
  ASSERT_EQ(vna_status, 0);
  const std::vector<double> swr(scanA_swr, scanA_swr + Numscanpts),
      rs(scanA_Rs, scanA_Rs + Numscanpts), xs(scanA_Xs, scanA_Xs + Numscanpts);
  const int points = scan_npoints;
  const int flip = autosave_flipA;
  Sim().Mark("redraw");
  RedrawGraph();
  test::SaveMainWindowPng(Png("redrawn"));
  EXPECT_EQ(FreqCommands(SentSince("redraw")), 0);
  EXPECT_EQ(scan_npoints, points);
  for (int k = 0; k < points; ++k) {
    EXPECT_NEAR(scanA_swr[k], swr[k], 1e-9 * swr[k]) << k;
    EXPECT_NEAR(scanA_Rs[k], rs[k], 1e-9 * std::fabs(rs[k]) + 1e-9) << k;
    EXPECT_NEAR(scanA_Xs[k], xs[k], 1e-9 * std::fabs(xs[k]) + 1e-9) << k;
  }
  EXPECT_EQ(autosave_flipA, flip);  // a replay is not saved
  EXPECT_EQ(live_data, 1);
}

TEST_P(ScanSimModels, SmoothedScanStoresTheWindowCentres) {
  Begin();
  Calibrate(1, 3.05, 0.05);
  Sim().SetDut("r=75");
  const std::vector<double> list = List(1, 3, 0.05);
  smoothing = 5;
  ScanButton(1, 3, 0.05);
  ASSERT_EQ(vna_status, 0);
  for (int k = 4; k < scan_npoints; ++k) EXPECT_DOUBLE_EQ(scanA_freq[k], list[k - 2]) << k;
  EXPECT_DOUBLE_EQ(scanA_freq[1], (list[0] + list[1]) / 2);
}

TEST_P(ScanSimModels, RecycleKeepsTheRelaysOn) {
  Begin();
  Calibrate(1, 2.05, 0.05);
  Sim().SetDut("r=75");
  struct Pass {
    int recycle;
    bool relays_on, relays_off;
  };
  const Pass passes[] = {{0, true, true}, {1, true, false}, {2, false, false}};
  for (const Pass& p : passes) {
    recycle_on = p.recycle;
    Sim().Mark("pass" + std::to_string(p.recycle));
    start_freq = 1;
    end_freq = 2;
    delta_freq = 0.05;
    Scan_A();
    const std::vector<Command> sent = SentSince("pass" + std::to_string(p.recycle));
    EXPECT_EQ(HasCommand(sent, Cmd("K", {43})), p.relays_on) << p.recycle;
    EXPECT_EQ(HasCommand(sent, Cmd("K", {40})), p.relays_off) << p.recycle;
  }
  recycle_on = 0;
  EXPECT_EQ(autosave_flipA, 1);  // only the pass outside recycle mode was saved
}

}  // namespace
}  // namespace vna
