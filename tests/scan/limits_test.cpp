// The scan limits: the " Scan Limits" dialog as a person fills it in, and
// the check that keeps the limits in range and decides whether the stored
// scans still belong to them.
#include <cmath>
#include <string>

#include "graph/freq_grid.h"
#include "graph/state.h"
#include "scan/scan_fixture.h"
#include "scan/scan_limits.h"
#include "shell/state.h"
#include "tools/scan_interpolation.h"

namespace vna {
namespace {

using test::AnswerDialog;

class LimitsTest : public test::ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    start_freq = 5;
    end_freq = 25;
    delta_freq = 0.202;
    FreqGrid();
  }
  static std::string Title() { return " Scan Limits  ( Cal Limits: min= 0.100 max= 1200 )"; }
  // The left group: start, stop and step (or points), then Enter.
  static void EnterLeft(const std::string& start, const std::string& stop, const std::string& step,
                        const std::string& title = Title()) {
    AnswerDialog(title, {{2, start}, {3, stop}, {4, step}}, 10);
    SetScanLimits();
  }
  // A stored Port A and Port B scan that is valid.
  static void StoreScan() {
    for (int k = 0; k < 10; ++k) {
      scanA_freq[k] = scanB_freq[k] = 1 + k;
      scanA_zmag[k] = scanA_phase[k] = scanA_swr[k] = 50 + k;
      s21_dB[k] = scanB_phase[k] = -3;
    }
    scana_ok = scanb_ok = 1;
    scanA_npoints = scanB_npoints = 10;
    PortA_title = "A title";
    PortB_title = "B title";
  }
};

struct LeftCase {
  std::string start, stop, step;
  double want_start, want_step;
  int want_plot_at_zero;
};

TEST_F(LimitsTest, LeftGroup) {
  const LeftCase cases[] = {
      {"1", "30", "50", 1, 0.58, 0},            // 20 and more: a number of points
      {"1", "30", "10k", 1, 0.01, 0},           // kHz
      {"1", "30", "19.9", 1, 5.8, 0},           // a step: 1 step is fewer than 5
      {"30", "1", "1", 1, 1, 0},                // exchanged
      {"-1", "-30", "1", 1, 1, 0},              // by their size
      {"0.5", "150", "1", 0.5, 1, 1},           // from below 1.001 to above 100: from 0
      {"50", "150", "1", 50, 1, 0},             // a start above a quarter of the stop: not
      {"1k", "2000k", "100", 0.1, 0.01999, 0},  // kHz in every field; start at the calibration
  };
  for (const LeftCase& c : cases) {
    SCOPED_TRACE(c.start + " " + c.stop + " " + c.step);
    EnterLeft(c.start, c.stop, c.step);
    EXPECT_EQ(dlg_result, 1);
    EXPECT_NEAR(start_freq, c.want_start, 1e-9);
    EXPECT_NEAR(delta_freq, c.want_step, 1e-9);
    EXPECT_EQ(plot_at_zero, c.want_plot_at_zero);
    EXPECT_EQ(step_text, c.step);
    // The grid puts the stop on the graph's right edge.
    EXPECT_EQ(end_freq, graph_end);
  }
}

TEST_F(LimitsTest, FieldsOpenWithThePresentLimits) {
  start_freq = 13.8;
  end_freq = 14.2;
  delta_freq = 0.01;
  AnswerDialog(Title(), {}, 10);  // Enter as opened
  SetScanLimits();
  EXPECT_EQ(dlg_text1, " 13.800000");
  EXPECT_EQ(dlg_text2, " 14.200000");
  EXPECT_EQ(dlg_text3, " 0.010000");
  EXPECT_EQ(number_decimals, 3);
}

TEST_F(LimitsTest, RightGroupTakesCentreAndSpan) {
  plot_at_zero = 1;
  AnswerDialog(Title(), {{25, "14"}, {32, "400k"}, {34, "0.01"}}, 35);
  SetScanLimits();
  EXPECT_EQ(dlg_text1, " 13.800");
  EXPECT_EQ(dlg_text2, " 14.200");
  EXPECT_NEAR(start_freq, 13.8, 1e-9);
  EXPECT_NEAR(end_freq, 14.2, 1e-9);
  EXPECT_NEAR(delta_freq, 0.01, 1e-12);
  EXPECT_EQ(plot_at_zero, 0);
}

TEST_F(LimitsTest, LimitsOutsideTheCalibrationMoveToItsEdges) {
  cal_start_freq = 2;
  cal_end_freq = 100;
  const std::string title = " Scan Limits  ( Cal Limits: min= 2 max= 100 )";
  EnterLeft("1", "150", "1", title);
  EXPECT_EQ(start_freq, 2);
  EXPECT_EQ(end_freq, 100);
  EnterLeft("100", "150", "1", title);  // a start at the calibration's end
  EXPECT_EQ(start_freq, 2);
}

TEST_F(LimitsTest, AboveAbout500MHzSmoothingIsForcedOn) {
  Numscanpts = 100;
  EnterLeft("500", "600", "1");
  EXPECT_EQ(smoothing, 3);
  EXPECT_EQ(smooth_man, 3);
  smoothing = 7;  // 5 and more stays
  EnterLeft("500", "600", "1");
  EXPECT_EQ(smoothing, 3);  // ... but the automatic width replaces it
}

TEST_F(LimitsTest, CancelChangesNothingNotEvenTheCheckBox) {
  StoreScan();
  AnswerDialog(Title(), {{2, "1"}, {3, "2"}}, 0, {{9, true}});
  SetScanLimits();
  EXPECT_EQ(dlg_result, 2);
  EXPECT_EQ(start_freq, 5);
  EXPECT_EQ(plot_at_zero, 0);
  EXPECT_EQ(scana_ok, 1);
  EXPECT_EQ(scanA_zmag[3], 53);
}

TEST_F(LimitsTest, NothingWhileAScanRunsOrInTdrMode) {
  scan_running = 1;
  SetScanLimits();
  scan_running = 0;
  tdr_mode = 1;
  SetScanLimits();
  tdr_mode = 0;
  EXPECT_TRUE(testhook::Dialogs().empty());
}

TEST_F(LimitsTest, UnchangedLimitsKeepTheStoredScan) {
  start_freq = 1;
  end_freq = 11;  // on the grid: the check moves nothing
  delta_freq = 0.1;
  sv_start = 1;
  sv_end = 11;
  StoreScan();
  CheckScanLimits();
  EXPECT_EQ(scana_ok, 1);
  EXPECT_EQ(scanb_ok, 1);
  EXPECT_EQ(scanA_zmag[3], 53);
  EXPECT_EQ(s21_dB[3], -3);
  EXPECT_EQ(PortA_title, "A title");
  EXPECT_EQ(scanloop, 0);
}

TEST_F(LimitsTest, ChangedLimitsClearTheGraphAndInvalidateTheStoredScan) {
  start_freq = 1;
  end_freq = 11;
  delta_freq = 0.1;
  sv_start = 2;
  sv_end = 11;
  StoreScan();
  ref_to_antenna = 1;
  const int x = (graph_left + graph_right) / 2, y = (graph_top + graph_bottom) / 2;
  FillRect(main_win, x - 5, y - 5, 10, 10, RedColor);
  CheckScanLimits();
  test::SaveMainWindowPng("limits_changed");
  EXPECT_EQ(scana_ok, 0);
  EXPECT_EQ(scanb_ok, 0);
  EXPECT_EQ(PortA_title, "");
  EXPECT_EQ(PortB_title, "");
  EXPECT_EQ(ref_to_antenna, 0);
  EXPECT_NE(ReadPixel(main_win, x, y), RedColor);  // cleared and the frame drawn anew
  // The invalid arrays hold the placeholder ramp, and no stored scan counts
  // them as measured points: a value read off the stored scan finds none.
  EXPECT_DOUBLE_EQ(scanA_zmag[3], 0.0003);
  EXPECT_DOUBLE_EQ(s21_dB[3], 0.0003);
  EXPECT_DOUBLE_EQ(scanA_swr[max_points], max_points * 0.0001);
  EXPECT_EQ(scanA_npoints, 0);
  EXPECT_EQ(scanB_npoints, 0);
  freq = 4;
  swr = Zmag = Zphase = -7;
  InterpolateScanAt();
  EXPECT_EQ(Zmag, -7);
  EXPECT_EQ(swr, -7);
}

TEST_F(LimitsTest, AFailedInstrumentLeavesTheStoredScanAlone) {
  start_freq = 1;
  end_freq = 11;
  delta_freq = 0.1;
  sv_start = 2;
  StoreScan();
  vna_status = 10;
  CheckScanLimits();
  EXPECT_EQ(scana_ok, 1);
  EXPECT_EQ(scanA_zmag[3], 53);
  EXPECT_EQ(scanA_npoints, 10);
  EXPECT_EQ(PortA_title, "A title");
  vna_status = 0;
}

TEST_F(LimitsTest, EmptyLimitsBecomeTheSmallestSpanWithAStep) {
  start_freq = end_freq = 0;
  delta_freq = 10;
  CheckScanLimits();
  EXPECT_DOUBLE_EQ(start_freq, 0.1);
  EXPECT_NEAR(end_freq, 0.101, 1e-9);
  EXPECT_GT(delta_freq, 0);
}

}  // namespace
}  // namespace vna
