// Q from the stored Port A phase around the first resonance, on synthetic
// scans whose 45 degree points are placed by hand.
#include <regex>
#include <string>

#include "tools/q_measurement.h"
#include "tools/tools_fixture.h"

namespace vna::test {
namespace {

class QMeasurementTest : public ToolsTest {
 protected:
  // n points from 10 MHz in steps of df with the resonance on point r.
  void Scan(int n, double df, int r, const std::function<double(int)>& phase_of) {
    StoreScanA(
        n, 10, df, [](int) { return 1.0; }, phase_of);
    resonance_freqs[0] = 10 + r * df;
  }
};

// Above the resonance at point 50 the phase passes 45 degrees between points
// 59 (0.72 rad) and 60 (0.80), below it between 43 (-0.70) and 42 (-0.80).
double PhaseAroundPoint50(int k) {
  return k >= 50 ? 0.08 * (k - 50) : -0.1 * (50 - k);
}

std::string ReportOf() {
  MeasureQ();
  return testhook::MsgBoxes().empty() ? "<no box>" : testhook::MsgBoxes().back().text;
}

TEST_F(QMeasurementTest, ReportsQFromThe45DegreePoints) {
  Scan(100, 0.01, 50, PhaseAroundPoint50);
  lbutton_down = ctrl_key_down = shift_key_down = 1;
  // F2 = 10.59 + 0.01 x 0.0654 / 0.08, F1 = 10.43 - 0.01 x 0.0854 / 0.1;
  // Q = 10.5 / (10.598175 - 10.42146) = 59.42.
  EXPECT_EQ(ReportOf(),
            "Q =  59.42\r\rResonant freq =  10.500\rF1= 10.421  F2= 10.598\rBandwidth= 0.177");
  EXPECT_EQ(Captions(), std::vector<std::string>{" Q Measurement"});
  EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
  EXPECT_EQ(lbutton_down + ctrl_key_down + shift_key_down, 0);
}

// The resonance and both edges are found through the stored frequencies:
// start and step changed after the scan, and a skipped band of 0.2 MHz from
// point 55 on, move nothing.
TEST_F(QMeasurementTest, UsesTheStoredFrequencies) {
  Scan(100, 0.01, 50, PhaseAroundPoint50);
  for (int k = 55; k < 100; ++k) scanA_freq[k] += 0.2;
  start_freq = 3;
  delta_freq = 0.05;
  EXPECT_EQ(ReportOf(),
            "Q =  27.87\r\rResonant freq =  10.500\rF1= 10.421  F2= 10.798\rBandwidth= 0.377");
}

TEST_F(QMeasurementTest, TooFewPointsAboveTheResonance) {
  // The phase passes 45 degrees `above` points above the resonance.
  for (int above = 0; above <= 3; ++above) {
    testhook::ClearLogs();
    Scan(100, 0.01, 50, [above](int k) {
      if (k >= 50) return k - 50 >= above ? 1.0 : 0.01 * (k - 50);
      return -0.1 * (50 - k);
    });
    MeasureQ();
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    if (above < 3) {
      EXPECT_EQ(Captions()[0], "Freq Resolution Too Coarse") << above;
      EXPECT_EQ(LastText(),
                "The scan step size is too large for this circuit.\r"
                "There are not enough data points around the resonance point.\r"
                "Change the limits and try it again.");
    } else {
      EXPECT_EQ(Captions()[0], " Q Measurement") << above;
    }
  }
}

// Precision follows the bandwidth, Q always has two decimals.
TEST_F(QMeasurementTest, DecimalsFollowTheBandwidth) {
  struct Case {
    double step;  // the 45 degree points lie 15.708 steps apart
    const char* bandwidth;
  };
  const Case cases[] = {
      {0.032, "Bandwidth= 0.503"},
      {0.0032, "Bandwidth= 0.0503"},
      {0.00032, "Bandwidth= 0.00503"},
      {0.000032, "Bandwidth= 0.000503"},
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    Scan(100, c.step, 50, [](int k) { return 0.1 * (k - 50); });
    const std::string text = ReportOf();
    EXPECT_TRUE(std::regex_search(text, std::regex("^Q =  [0-9]+\\.[0-9]{2}\r"))) << text;
    EXPECT_NE(text.find(std::string("\r") + c.bandwidth), std::string::npos) << text;
  }
}

TEST_F(QMeasurementTest, SecondResonanceAddsANote) {
  Scan(100, 0.01, 50, PhaseAroundPoint50);
  resonance_freqs[1] = 10.9;
  const std::string text = ReportOf();
  const std::string note =
      "\r\rNote: There is more than one resonance point in the scan data.\r"
      "The first point was used to calculate Q.";
  ASSERT_GT(text.size(), note.size());
  EXPECT_EQ(text.substr(text.size() - note.size()), note);
  EXPECT_EQ(text.substr(0, 10), "Q =  59.42");
}

TEST_F(QMeasurementTest, ScansWithoutOneResonance) {
  struct Case {
    int points, resonance;
    const char* err;
    const char* what;
  };
  const Case cases[] = {
      {100, -1, " 1", "no resonance found"},
      {56, 50, " 2", "the upward walk reaches the last point"},
      {100, 5, " 3", "the downward walk reaches point 2"},
      {11, 5, " 3", "both walks reach the ends: 3 wins"},
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    const int r = c.resonance;
    Scan(c.points, 0.01, r, [r](int k) { return 0.1 * (k - r); });
    if (r < 0) resonance_freqs[0] = -1;
    // Past the last point: values that would end any walk that read them.
    for (int k = c.points; k < c.points + 5; ++k) scanA_phase[k] = 3;
    EXPECT_EQ(
        ReportOf(),
        std::string("Scan data is not valid for a tuned circuit with one resonant point. Err=") +
            c.err)
        << c.what;
    EXPECT_EQ(Captions(), std::vector<std::string>{""}) << c.what;
  }
}

// A scan that failed at point 60 holds 60 measured points; a resonance
// found between the last of them and the failed reading lies on no measured
// point: there is no Q to give for it.
TEST_F(QMeasurementTest, AResonanceBeyondTheMeasuredPointsGivesNoQ) {
  Scan(100, 0.01, 50, PhaseAroundPoint50);
  scan_npoints = scanA_npoints = 60;
  for (double r : {10.605, 10.65, 9.99}) {
    testhook::ClearLogs();
    resonance_freqs[0] = r;
    EXPECT_EQ(ReportOf(),
              "Scan data is not valid for a tuned circuit with one resonant point. Err= 1")
        << r;
  }
}

}  // namespace
}  // namespace vna::test
