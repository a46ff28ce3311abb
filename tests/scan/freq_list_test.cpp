// The frequency list: equal steps, the spur and whole-megahertz moves, band
// skip and the point limit.
#include <cmath>

#include "instrument/state.h"
#include "scan/freq_list.h"
#include "scan/scan_fixture.h"

namespace vna {
namespace {

class FreqListTest : public test::ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    dds_clk4 = 12.5;  // a 50 MHz DDS clock
  }
  void Build(double start, double end, double step) {
    start_freq = start;
    end_freq = end;
    BuildFreqList(1, step);
  }
};

TEST_F(FreqListTest, DefaultLimitsGiveHundredPointsUnmoved) {
  scan_running = 1;
  Build(5, 25, 0.202);
  ASSERT_EQ(Numscanpts, 100);
  for (int k = 0; k < 100; ++k) EXPECT_NEAR(scanA_freq[k], 5 + k * 0.202, 1e-9) << k;
  EXPECT_NEAR(freq, 5 + 100 * 0.202, 1e-9);  // one step beyond the last point
}

TEST_F(FreqListTest, PortBModeFillsThePortBList) {
  PortB_on = 1;
  Build(1, 2, 0.25);
  EXPECT_EQ(Numscanpts, 5);
  EXPECT_DOUBLE_EQ(scanB_freq[4], 2);
  EXPECT_EQ(scanA_freq[4], 0);
}

TEST_F(FreqListTest, SpurMoveShiftsTheRestOfTheList) {
  scan_running = 1;
  Build(40, 60, 2.5);
  ASSERT_EQ(Numscanpts, 8);  // 40 .. 57.52; 60.02 lies beyond the end
  for (int k = 0; k < 8; ++k) {
    EXPECT_NEAR(scanA_freq[k], 40 + 2.5 * k + (k >= 4 ? 0.02 : 0), 1e-9) << k;
  }
}

TEST_F(FreqListTest, FirstFrequencyIsNeverMoved) {
  scan_running = 1;
  Build(50, 60, 2.5);
  EXPECT_DOUBLE_EQ(scanA_freq[0], 50);
}

struct MoveCase {
  double f;
  int calibrating;
  double span;  // end_freq - start_freq
  double want;
};

TEST_F(FreqListTest, NextFreqMoves) {
  const MoveCase cases[] = {
      {500, 0, 10, 500.04},       // spur, twice the margin; 0.04 is clear of the whole MHz
      {501.005, 0, 10, 501.009},  // whole megahertz above 275 MHz: 0.009
      {501.005, 0, 2, 501.005},   // ... only in scans wider than 5 MHz
      {723.995, 0, 10, 724.012},  // 0.012 from 723 MHz on, the nearest whole MHz above
      {101.01, 0, 10, 101.02},    // below 275 MHz the margin stays 0.02
      {150.01, 0, 10, 150.02},    // spur at 150: moved to 150.02, clear of the whole MHz
      {1600, 0, 10, 1600.08},     // four times from 1500 MHz on
      {1000, 0, 10, 1000.06},     // three times from 980 MHz on
      {50, 1, 10, 50.05},         // a calibration: base margin 0.05
      {300, 1, 10, 300.1},       {1000, 1, 10, 1000.15},
      {1600, 1, 10, 1600.2},     {25, 0, 10, 25},        // nothing below 35 MHz
      {37.5, 0, 10, 37.52},      {49.99, 0, 10, 50.02},  // just below a spur: moved above it
      {499.97, 0, 10, 500.04},                           // ... by the margin of its band
      {49.96, 1, 10, 50.05},                             // ... and of a calibration
  };
  scan_running = 1;
  for (const MoveCase& c : cases) {
    CalinProgress = c.calibrating;
    start_freq = 1;
    end_freq = 1 + c.span;
    freq = c.f;
    NextFreq();
    EXPECT_NEAR(freq, c.want, 1e-9) << c.f << (c.calibrating ? " calibrating" : "");
  }
}

TEST_F(FreqListTest, NextFreqRestsOutsideAScanAndWithMyVar2) {
  start_freq = 1;
  end_freq = 1000;
  freq = 500;
  NextFreq();
  EXPECT_EQ(freq, 500);
  scan_running = 1;
  MyVar2 = 0.5;
  NextFreq();
  EXPECT_EQ(freq, 500);
}

TEST_F(FreqListTest, BandSkipKeepsTheWidenedBandsOnly) {
  bandskip = 1;
  bandskip_start[1] = 3.5;
  bandskip_end[1] = 3.8;
  bandskip_start[2] = 7.0;
  bandskip_end[2] = 7.2;
  for (int k = 3; k <= 12; ++k) bandskip_start[k] = bandskip_end[k] = 0;
  Build(3, 8, 0.01);
  ASSERT_GT(Numscanpts, 0);
  int first_band = 0;
  for (int k = 0; k < Numscanpts; ++k) {
    const double f = scanA_freq[k];
    const bool low = f > 3.49 - 1e-6 && f<3.81, high = f> 6.99 - 1e-6 && f < 7.21;
    EXPECT_TRUE(low || high) << f;
    if (low) ++first_band;
  }
  EXPECT_NEAR(scanA_freq[0], 3.49, 1e-9);
  EXPECT_NEAR(scanA_freq[first_band - 1], 3.80, 0.0101);
  EXPECT_NEAR(scanA_freq[first_band], 6.99, 1e-9);
  EXPECT_NEAR(scanA_freq[Numscanpts - 1], 7.20, 0.0101);
  EXPECT_NEAR(first_band, 32, 1);
  EXPECT_NEAR(Numscanpts - first_band, 22, 1);
}

TEST_F(FreqListTest, BandSkipWithoutABandInTheSpanGivesAnEmptyList) {
  bandskip = 1;
  for (int k = 1; k <= 12; ++k) bandskip_start[k] = bandskip_end[k] = 0;
  bandskip_start[1] = 50;
  bandskip_end[1] = 54;
  Build(3, 8, 0.01);
  EXPECT_EQ(Numscanpts, 0);
}

TEST_F(FreqListTest, NeverMoreThanMaxPointsLessOne) {
  max_points = 20;
  Build(1, 100, 0.01);
  EXPECT_EQ(Numscanpts, 19);
  max_points = 30000;
  Build(1, 100, 0.0001);
  EXPECT_EQ(Numscanpts, 29999);
}

}  // namespace
}  // namespace vna
