// The resonance search over stored points: the minimum SWR and the zero
// crossings of the phase.
#include <vector>

#include "scan/resonance.h"
#include "scan/scan_fixture.h"

namespace vna {
namespace {

class ResonanceTest : public test::ScanTest {
 protected:
  // Points at f0, f0 + df, ... with these phases (radians) and SWRs (all 2
  // when none are given); last_point := the last index.
  void Store(const std::vector<double>& phases, std::vector<double> swrs = {}, double f0 = 10,
             double df = 1) {
    if (swrs.empty()) swrs.assign(phases.size(), 2);
    for (size_t k = 0; k < phases.size(); ++k) {
      scanA_freq[k] = f0 + df * k;
      scanA_phase[k] = phases[k];
      scanA_swr[k] = swrs[k];
    }
    last_point = static_cast<int>(phases.size()) - 1;
  }
  std::vector<double> Found() const {
    std::vector<double> out;
    for (double f : resonance_freqs) out.push_back(f);
    return out;
  }
};

TEST_F(ResonanceTest, CrossingIsInterpolated) {
  Store({0.5, -0.5, -0.6});
  FindResonances();
  EXPECT_DOUBLE_EQ(resonance_freqs[0], 10.5);
  EXPECT_EQ(resonance_freqs[1], -1);
}

TEST_F(ResonanceTest, ShortScansFindNothing) {
  Store({0.5, -0.5});  // two points: no crossing is searched
  FindResonances();
  EXPECT_EQ(resonance_freqs[0], -1);
  EXPECT_EQ(min_swr, 2);
  Store({0.5});
  min_swr_freq = 123;
  FindResonances();
  EXPECT_EQ(min_swr, 10000);
  EXPECT_EQ(min_swr_freq, 123);  // unchanged when nothing was searched
}

TEST_F(ResonanceTest, DitheringPhaseIsNoResonanceButRestartsThePeak) {
  // 0.05 -> -0.05 never exceeded 0.1 rad; the next crossing counts only
  // after the phase rose above 0.1 again.
  Store({0.05, -0.05, 0.05, 0.3, -0.3, -0.3});
  FindResonances();
  EXPECT_EQ(Found(), (std::vector<double>{13.5, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(ResonanceTest, ExactZeroGivesOneCrossing) {
  Store({0.5, 0, -0.5, -0.5});
  FindResonances();
  EXPECT_DOUBLE_EQ(resonance_freqs[0], 11);
  EXPECT_EQ(resonance_freqs[1], -1);
}

TEST_F(ResonanceTest, MinimumSwrTakesTheFirstOfEqualsAndSkipsTheLastPoint) {
  Store({1, 1, 1, 1, 1}, {3, 1.5, 2, 1.5, 1.1});
  FindResonances();
  EXPECT_EQ(min_swr, 1.5);
  EXPECT_EQ(min_swr_freq, 11);
}

TEST_F(ResonanceTest, TwelfthCrossingEndsInTheLastElement) {
  std::vector<double> phases;
  for (int k = 0; k < 14; ++k) phases.push_back(k % 2 == 0 ? 0.5 : -0.5);
  Store(phases);  // 13 crossings over 14 points; the search sees the first 12
  FindResonances();
  for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(resonance_freqs[i], 10.5 + i) << i;
  EXPECT_DOUBLE_EQ(resonance_freqs[10], 21.5);
}

}  // namespace
}  // namespace vna
