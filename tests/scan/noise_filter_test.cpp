// The least-squares fit and the two noise filters on small fixtures: the
// outliers each finds, the curves they leave, what they never touch, and the
// command that runs them without rescanning.
#include <cmath>
#include <vector>

#include "graph/graph_frame.h"
#include "scan/noise_filters.h"
#include "scan/poly_fit.h"
#include "scan/scan_fixture.h"

namespace vna {
namespace {

constexpr int kN = 200;

// A smooth |Z| (a low-order polynomial, 80..120 ohms) and phase over the
// scan's points.
double Clean(int i) {
  const double x = i - kN / 2;
  return 100 + 0.2 * x - 0.0015 * x * x;
}
double CleanPhase(int i) {
  return 0.3 + 0.002 * (i - kN / 2);
}

class NoiseFilterTest : public test::ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    dspthreshold = 2.0;
    dspthreshold_factor = 0;
    dsp_debug = 0;
    Load(kN);
  }
  static void Load(int n, std::vector<int> spikes = {}) {
    Numscanpts = scanA_npoints = n;
    for (int i = 0; i < n; ++i) {
      readA_zmag[i] = Clean(i);
      readA_phase[i] = CleanPhase(i);
    }
    for (int i : spikes) readA_zmag[i] += 900;
  }
  // The points the last filter rejected: its marks are left in y_dat.
  static std::vector<int> Rejected() {
    std::vector<int> out;
    for (int i = 0; i < Numscanpts; ++i)
      if (y_dat[i] < -4) out.push_back(i);
    return out;
  }
  // The number box answered with this text and Enter.
  static testhook::Answer Typed(const std::string& text) {
    testhook::Answer a;
    a.texts = {{1, text}};
    a.press = 2;
    return a;
  }
  static std::vector<int> Range(int first, int last) {
    std::vector<int> out;
    for (int i = first; i <= last; ++i) out.push_back(i);
    return out;
  }
  static void ExpectCleanCurves(const char* filter) {
    for (int i = 0; i < Numscanpts; ++i) {
      EXPECT_NEAR(readA_zmag[i], Clean(i), 0.005 * Clean(i)) << filter << " point " << i;
      EXPECT_NEAR(readA_phase[i], CleanPhase(i), 0.005) << filter << " point " << i;
    }
  }
};

TEST_F(NoiseFilterTest, PolyFitSolvesTheNormalEquations) {
  const double x[] = {-2, -1, 0, 1, 2}, y[] = {-5, 0, 2.4, 4, 3};
  std::copy(x, x + 5, x2_dat);
  std::copy(y, y + 5, y2_dat);
  dsp_fit_points = 5;
  dsp_poly_order = 2;
  std::fill(dsp_poly_coef, dsp_poly_coef + 20, 0.0);
  PolyFit();
  EXPECT_NEAR(dsp_poly_coef[0], 474.0 / 175, 1e-12);
  EXPECT_NEAR(dsp_poly_coef[1], 2, 1e-12);
  EXPECT_NEAR(dsp_poly_coef[2], -32.0 / 35, 1e-12);
  // An order of 0 fits a straight line, 9 fits order 7; higher entries stay.
  dsp_poly_coef[9] = 42;
  dsp_poly_order = 0;
  PolyFit();
  EXPECT_NEAR(dsp_poly_coef[0], 0.88, 1e-12);
  EXPECT_NEAR(dsp_poly_coef[1], 2, 1e-12);
  EXPECT_NEAR(dsp_poly_coef[2], -32.0 / 35, 1e-12) << "untouched above the order";
  for (int i = 0; i < 10; ++i) {
    x2_dat[i] = x_dat[i] = i - 5;
    y2_dat[i] = 1 + 0.5 * std::pow(i - 5, 7);
  }
  dsp_fit_points = 10;
  dsp_poly_order = 9;
  PolyFit();
  EXPECT_NEAR(dsp_poly_coef[7], 0.5, 1e-6);
  EXPECT_EQ(dsp_poly_coef[9], 42);
  // Fewer points than unknowns: singular, yet finite.
  dsp_fit_points = 2;
  dsp_poly_order = 4;
  PolyFit();
  for (int j = 0; j <= 4; ++j) EXPECT_TRUE(std::isfinite(dsp_poly_coef[j])) << j;
}

TEST_F(NoiseFilterTest, EvaluationAndDeviationOfTheFit) {
  std::fill(dsp_poly_coef, dsp_poly_coef + 20, 0.0);
  dsp_poly_coef[0] = 1;
  dsp_poly_coef[2] = 2;
  dsp_poly_coef[3] = 5;  // beyond an order-2 fit: not evaluated
  dsp_poly_order = 2;
  for (int i = 0; i < 4; ++i) x_dat[i] = i;
  EvalPolyFit(0, 3);
  EXPECT_EQ(dsp_fit_curve[3], 19);
  const double y[] = {1, -5, 9.5, 20};
  std::copy(y, y + 4, y_dat);
  EXPECT_EQ(MaxFitDeviation(0, 3), 1);  // point 1 is rejected
  EXPECT_EQ(MaxFitDeviation(1, 1), 0);
}

TEST_F(NoiseFilterTest, DeviationsAndTheirSort) {
  Numscanpts = 7;
  const double y[] = {1, 2, 3, 10, 5, 0, 0};
  std::copy(y, y + 7, y_dat);
  LocalDeviations(7);
  EXPECT_EQ(Devs[0], 0);
  EXPECT_EQ(Devs[1], 0);
  EXPECT_EQ(Devs[5], 0);
  EXPECT_EQ(Devs[6], 0);
  // i = 2: a = 1.5, b = 7.5, s = 2, v = 4.5; residuals 0.5, 0.5, 1.5, 3.5, 3.5.
  EXPECT_NEAR(Devs[2], 9.5 / 4.5, 1e-12);
  // The pairs around point 3 cancel: a line value of exactly 0 gives 0.
  const double through_zero[] = {1, 2, -2, 7, 1, -1, 0};
  std::copy(through_zero, through_zero + 7, y_dat);
  LocalDeviations(7);
  EXPECT_EQ(Devs[3], 0);
  EXPECT_GT(Devs[2], 0);
  const double unsorted[] = {0.3, 5, 1e-3, 2, 0.1 + 1e-12, 7, 0, 4, 4, 1};
  std::copy(unsorted, unsorted + 10, Devs);
  ShellSortDevs(10);
  std::vector<double> want(unsorted, unsorted + 10);
  std::sort(want.begin(), want.end());
  for (double& v : want) v = static_cast<float>(v);
  EXPECT_EQ(std::vector<double>(Devs, Devs + 10), want);
}

TEST_F(NoiseFilterTest, CleanCurveKeepsEveryPoint) {
  DspFilterFlag();
  EXPECT_TRUE(Rejected().empty());
  ExpectCleanCurves("filter 1");
  Load(kN);
  DspFilterFit();
  EXPECT_TRUE(Rejected().empty());
  ExpectCleanCurves("filter 2");
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(NoiseFilterTest, SpikesAreRejectedWithTheirNeighboursAndShortGapsBridged) {
  struct Case {
    std::vector<int> spikes;
    std::vector<int> rejected;
  };
  const Case cases[] = {
      // Windows 98..102 contain the spike; each rejects its point and the one before.
      {{100}, Range(97, 102)},
      // 52 and 57 rejected 5 apart (M = 15): the gap is filled.
      {{50, 60}, Range(47, 62)},
      // 52 and 72, 20 apart: they stay separate.
      {{50, 75},
       [] {
         std::vector<int> r = Range(47, 52);
         for (int i : Range(72, 77)) r.push_back(i);
         return r;
       }()},
  };
  for (const Case& c : cases) {
    Load(kN, c.spikes);
    DspFilterFlag();
    EXPECT_EQ(Rejected(), c.rejected) << "first spike at " << c.spikes[0];
    ExpectCleanCurves("filter 1");
    Load(kN, c.spikes);
    DspFilterFit();
    EXPECT_EQ(Rejected(), c.rejected) << "first spike at " << c.spikes[0];
    ExpectCleanCurves("filter 2");
  }
}

TEST_F(NoiseFilterTest, NoRejectionMarkIsLeftInTheScan) {
  // A spike near the end lies after filter 2's last piece (within the
  // 20-point margin), where the filter leaves the curve as it was.
  Load(kN, {40, 196});
  DspFilterFit();
  EXPECT_FALSE(Rejected().empty());
  for (int i = 0; i < kN; ++i) {
    EXPECT_GT(readA_phase[i], -4) << i;
    EXPECT_GT(readA_zmag[i], -4) << i;
  }
  EXPECT_NEAR(readA_phase[197], CleanPhase(197), 1e-12);
  Load(kN, {40, 196});
  DspFilterFlag();
  for (int i = 0; i < kN; ++i) EXPECT_GT(readA_phase[i], -4) << i;
}

TEST_F(NoiseFilterTest, NoisyDataIsSaidOnceAndFilteredAnyway) {
  std::vector<int> spikes;
  for (int i = 5; i < kN; i += 12) spikes.push_back(i);
  Load(kN, spikes);
  DspFilterFlag();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, kNoisyDataText);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "");
  for (int i = 0; i < kN; ++i) EXPECT_TRUE(std::isfinite(readA_zmag[i]));
}

TEST_F(NoiseFilterTest, FewerThanFivePointsChangeNothing) {
  Load(4, {1});
  const std::vector<double> z(readA_zmag, readA_zmag + 4), p(readA_phase, readA_phase + 4);
  DspFilterFlag();
  DspFilterFit();
  EXPECT_EQ(std::vector<double>(readA_zmag, readA_zmag + 4), z);
  EXPECT_EQ(std::vector<double>(readA_phase, readA_phase + 4), p);
}

TEST_F(NoiseFilterTest, CommandFiltersTheScanInMemoryOrChangesNothing) {
  start_freq = 5;
  end_freq = 5 + (kN - 1) * 0.01;
  delta_freq = 0.01;
  Load(kN, {100});
  // The scan on the graph as it stood before the command: its frequencies
  // and its frame (the replay draws over them).
  // (Drawing moves end_freq to its grid's end; the limits stay the scan's.)
  for (int i = 0; i < kN; ++i) scanA_freq[i] = 5 + 0.01 * i;
  DrawGraph();
  end_freq = 5 + (kN - 1) * 0.01;
  const std::vector<double> spiky(readA_zmag, readA_zmag + kN);
  dsp_filter = 1;
  rescan_center = 3;
  // Cancel: nothing runs.
  testhook::Answer cancel;
  cancel.caption = "Enter Center Freq (0=Don't rescan)";
  cancel.press = 3;
  testhook::QueueAnswer(cancel);
  RescanCenter();
  EXPECT_EQ(std::vector<double>(readA_zmag, readA_zmag + kN), spiky);
  EXPECT_EQ(rescan_center, 3);
  // 0: the present scan filtered and replayed; the limits stay.
  testhook::QueueAnswer(Typed("0"));
  const int width = trace_width;
  RescanCenter();
  EXPECT_NEAR(readA_zmag[100], Clean(100), 0.005 * Clean(100));
  EXPECT_NEAR(rescan_center, 5 + (kN - 1) * 0.005, 1e-9);
  EXPECT_NEAR(rescan_halfwidth, (kN - 1) * 0.005, 1e-9);
  EXPECT_NEAR(start_freq, 5, 1e-9);
  EXPECT_NEAR(end_freq, 5 + (kN - 1) * 0.01, 1e-9);
  EXPECT_EQ(scan_recalled, 1);
  EXPECT_EQ(live_data, 1);
  EXPECT_EQ(trace_width, width);
  test::SaveMainWindowPng("noise_filter_1");
}

TEST_F(NoiseFilterTest, PortBModeLeavesThePortAScanAlone) {
  PortB_on = 1;
  Load(kN, {100});
  const std::vector<double> z(readA_zmag, readA_zmag + kN), p(readA_phase, readA_phase + kN);
  dsp_filter = 2;
  testhook::QueueAnswer(Typed("0"));
  RescanCenter();
  PortB_on = 0;
  EXPECT_EQ(std::vector<double>(readA_zmag, readA_zmag + kN), z);
  EXPECT_EQ(std::vector<double>(readA_phase, readA_phase + kN), p);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "The noise filters work on Port A scans.");
}

}  // namespace
}  // namespace vna
