// Smoothing: the moving average of a scan's points, the automatic width and
// the " Smoothing" dialog.
#include <vector>

#include "instrument/state.h"
#include "scan/scan_fixture.h"
#include "scan/smoothing.h"

namespace vna {
namespace {

using test::AnswerDialog;

class SmoothingTest : public test::ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    scan_running = 1;
    mult_changed = 0;
    maxsmooth = 9;
  }
  // Point k read at 10 + k MHz with swr = k + 1 and the other quantities
  // multiples of it; returns (smoothed swr, freq_plot) per point.
  std::vector<std::pair<double, double>> Run(int points) {
    std::vector<std::pair<double, double>> out;
    for (scanloop = 0; scanloop < points; ++scanloop) {
      freq = 10 + scanloop;
      const double v = scanloop + 1;
      swr = v;
      Zmag = 2 * v;
      Zphase = 3 * v;
      point_Xs = 4 * v;
      point_Rs = 5 * v;
      return_loss = 6 * v;
      SmoothA();
      // Every quantity is averaged alike.
      EXPECT_DOUBLE_EQ(Zmag, 2 * swr);
      EXPECT_DOUBLE_EQ(Zphase, 3 * swr);
      EXPECT_DOUBLE_EQ(point_Xs, 4 * swr);
      EXPECT_DOUBLE_EQ(point_Rs, 5 * swr);
      EXPECT_DOUBLE_EQ(return_loss, 6 * swr);
      out.push_back({swr, freq_plot});
    }
    return out;
  }
};

TEST_F(SmoothingTest, FiveCellsAverageTheLastFiveReadings) {
  smoothing = 5;
  const auto got = Run(8);
  EXPECT_DOUBLE_EQ(got[0].first, 1);
  EXPECT_DOUBLE_EQ(got[0].second, 10);
  EXPECT_DOUBLE_EQ(got[1].first, 1.5);  // mean of readings 1 and 2
  EXPECT_DOUBLE_EQ(got[1].second, 10.5);
  EXPECT_DOUBLE_EQ(got[2].first, 2);
  EXPECT_DOUBLE_EQ(got[2].second, 11);
  for (int k = 4; k < 8; ++k) {
    EXPECT_DOUBLE_EQ(got[k].first, k - 1) << k;        // readings k-3 .. k+1
    EXPECT_DOUBLE_EQ(got[k].second, 10 + k - 2) << k;  // drawn two points back
  }
}

TEST_F(SmoothingTest, NothingIsSmoothedWhenOffHaltedOrAfterAMultiplierChange) {
  for (int state = 0; state < 3; ++state) {
    smoothing = state == 0 ? 1 : 5;
    scan_running = state == 1 ? 0 : 1;
    mult_changed = state == 2 ? 1 : 0;
    const auto got = Run(4);
    for (int k = 0; k < 4; ++k) {
      EXPECT_DOUBLE_EQ(got[k].first, k + 1) << state;
      EXPECT_DOUBLE_EQ(got[k].second, 10 + k) << state;
    }
  }
}

TEST_F(SmoothingTest, PortBSmoothsS21AndItsPhase) {
  smoothing = 3;
  for (scanloop = 0; scanloop < 4; ++scanloop) {
    freq = 1 + scanloop;
    point_s21db = -10.0 * scanloop;
    Zphase = scanloop;
    SmoothB();
  }
  EXPECT_DOUBLE_EQ(point_s21db, -20);  // -10, -20, -30
  EXPECT_DOUBLE_EQ(Zphase, 2);
  EXPECT_DOUBLE_EQ(freq_plot, 3);
}

struct CellsCase {
  double start, end, step;
  int want;
};

TEST_F(SmoothingTest, AutomaticWidth) {
  const CellsCase cases[] = {
      {5, 25, 0.202, 3},  // 99 steps: 2.48, rounded 2, odd 3
      {0, 50, 1, 3},      // 1.5 rounds to even 2, odd 3
      {0, 24, 1, 0},      // 0.98: 1, below 3
      {0, 1000, 1, 9},    // 20.5: 20, odd 21, at most maxsmooth
  };
  for (const CellsCase& c : cases) {
    start_freq = c.start;
    end_freq = c.end;
    delta_freq = c.step;
    smoothing = 0;
    SmoothCells();
    EXPECT_EQ(smooth_auto, c.want) << c.end;
    EXPECT_EQ(smoothing, 0);  // smoothing off stays off
    smoothing = 1;
    SmoothCells();
    EXPECT_EQ(smoothing, c.want) << c.end;
  }
}

struct DialogCase {
  int press;
  std::string text;
  int smoothing, smooth_man, smooth_auto;
};

TEST_F(SmoothingTest, DialogChoices) {
  start_freq = 5;
  end_freq = 25;
  delta_freq = 0.202;  // automatic width 3
  const DialogCase cases[] = {
      {2, "4", 5, 5, 0},   // made odd
      {2, "12", 9, 9, 0},  // at most maxsmooth
      {2, "-7", 7, 7, 0},  // by its size
      {2, "0", 0, 0, 0},   // off
      {2, "1", 0, 0, 0},   // off
      {2, "", 7, 7, 2},    // an empty field changes nothing
      {3, "", 3, 0, 3},    // Auto
      {6, "", 0, 0, 0},    // OFF
      {4, "", 7, 7, 2},    // ON changes nothing
  };
  for (const DialogCase& c : cases) {
    smoothing = smooth_man = 7;
    smooth_auto = 2;
    AnswerDialog("Smoothing 0.. 9", {{1, c.text}}, c.press);
    SmoothingDialog();
    EXPECT_EQ(dlg_result, 1);
    EXPECT_EQ(smoothing, c.smoothing) << c.press << " '" << c.text << "'";
    EXPECT_EQ(smooth_man, c.smooth_man) << c.press << " '" << c.text << "'";
    EXPECT_EQ(smooth_auto, c.smooth_auto) << c.press << " '" << c.text << "'";
  }
}

TEST_F(SmoothingTest, DialogShowsTheWidthAndClosingChangesNothing) {
  smoothing = 5;
  AnswerDialog("Smoothing 0.. 9", {}, 2);  // Manual with the field as it opened
  SmoothingDialog();
  EXPECT_EQ(dlg_text1, "  5");
  EXPECT_EQ(smoothing, 5);
  AnswerDialog("Smoothing 0.. 9", {{1, "3"}}, 0);  // typed, then the close box
  SmoothingDialog();
  EXPECT_EQ(dlg_result, 2);
  EXPECT_EQ(smoothing, 5);
}

TEST_F(SmoothingTest, AutoOnAShortScanLeavesSmoothingOff) {
  start_freq = 0;
  end_freq = 24;
  delta_freq = 1;
  smoothing = 5;
  AnswerDialog("Smoothing 0.. 9", {}, 3);
  SmoothingDialog();
  EXPECT_EQ(smoothing, 0);
  EXPECT_EQ(smooth_auto, 0);
}

}  // namespace
}  // namespace vna
