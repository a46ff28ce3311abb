// Values of a stored Port A scan between its points.
#include <cmath>

#include "instrument/state.h"
#include "tools/scan_interpolation.h"
#include "tools/tools_fixture.h"

namespace vna::test {
namespace {

class ScanInterpolationTest : public ToolsTest {
 protected:
  // 21 points from 10 MHz in 0.1 MHz steps. Point 5 holds a negative SWR
  // (a level scale), points 14 and 15 phases either side of +-pi. The
  // elements after the last point hold values no result may show.
  void SetUp() override {
    ToolsTest::SetUp();
    StoreScanA(
        21, 10, 0.1, [](int k) { return k == 5 ? -2.0 : 1 + 0.1 * k; },
        [](int k) { return k == 14   ? 3.1
                           : k == 15 ? -3.1
                                     : 0.05 * k - 0.5; });
    for (int k = 0; k < 21; ++k) scanA_zmag[k] = 50 + k * k;
    for (int k = 21; k < 25; ++k) scanA_swr[k] = scanA_zmag[k] = scanA_phase[k] = 999;
  }
};

TEST_F(ScanInterpolationTest, ValuesBetweenAndAtThePoints) {
  struct Case {
    double f;
    double swr, zmag, phase;
    const char* what;
  };
  const Case cases[] = {
      {10.3, 1.3, 59, -0.35, "on point 3"},
      {10.5, 2, 75, -0.25, "on point 5: the SWR without its sign"},
      {11.05, 2.05, 160.5, 0.025, "halfway between points 10 and 11: the means"},
      {10.025, 1.025, 50.25, -0.4875, "a quarter step above point 0"},
      {11.45, 2.45, 260.5, 0, "across the phase jump at +-pi: the mean, not the short arc"},
      {12.0, 3.0, 450, 0.5, "the last point"},
      {12.05, 3.0, 450, 0.5, "beyond the last point: the last point's values"},
      {9.9, 1.0, 50, -0.5, "below the first point: the first point's values"},
  };
  for (const Case& c : cases) {
    freq = c.f;
    swr = Zmag = Zphase = -7;
    InterpolateScanAt();
    EXPECT_NEAR(swr, c.swr, 1e-12) << c.what;
    EXPECT_NEAR(Zmag, c.zmag, 1e-9) << c.what;
    EXPECT_NEAR(Zphase, c.phase, 1e-12) << c.what;
    EXPECT_DOUBLE_EQ(freq, c.f) << c.what;
  }
}

TEST_F(ScanInterpolationTest, APointFrequencyGivesThePointExactly) {
  for (int k = 0; k < 21; ++k) {
    freq = 10 + 0.1 * k;
    InterpolateScanAt();
    EXPECT_EQ(Zmag, scanA_zmag[k]) << k;
    EXPECT_EQ(Zphase, scanA_phase[k]) << k;
    EXPECT_EQ(swr, std::fabs(scanA_swr[k])) << k;
  }
}

TEST_F(ScanInterpolationTest, NothingStoredLeavesThePointAlone) {
  scan_npoints = scanA_npoints = 0;
  freq = 10.3;
  swr = Zmag = Zphase = -7;
  InterpolateScanAt();
  EXPECT_EQ(swr, -7);
  EXPECT_EQ(Zmag, -7);
  EXPECT_EQ(Zphase, -7);
}

}  // namespace
}  // namespace vna::test
