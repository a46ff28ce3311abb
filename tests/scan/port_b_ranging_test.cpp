// The pieces of the Port B scan that are plain arithmetic: the phase wrap,
// the group-delay window and running average, the mean delay, the gain
// autoranging and the level-dependent averaging.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "files/settings.h"
#include "instrument/state.h"
#include "scan/group_delay.h"
#include "scan/port_b_ranging.h"

namespace vna {
namespace {

TEST(WrapPhase, BringsEveryStepIntoMinusPiToPi) {
  struct Case {
    double d, want;
  };
  const Case cases[] = {
      {0.5, 0.5},
      {-1.9, -1.9},  // a real step of a long line, not a wrap
      {3.0, 3.0},
      {2 * M_PI - 0.1, -0.1},     // through -pi to +pi
      {-(2 * M_PI - 0.1), 0.1},   // through +pi to -pi
      {M_PI, M_PI},               // +pi stays
      {-3.141592654, 3.141592654},  // -pi (as the program rounds it) becomes +pi
      {5 * M_PI + 0.2, -M_PI + 0.2},
      {NAN, 0},
      {INFINITY, 0},
  };
  for (const Case& c : cases) EXPECT_NEAR(WrapPhase(c.d), c.want, 1e-8) << c.d;
}

TEST(DelayWindow, SamplesPer200PointsOrAPercentage) {
  struct Case {
    int setting, points;
    double want;
  };
  const Case cases[] = {{2, 100, 1}, {2, 1000, 10}, {-10, 200, 20}, {-10, 400, 80}, {0, 50, 1}};
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(DelayWindow(c.setting, c.points), c.want) << c.setting << " " << c.points;
  }
}

TEST(GroupDelay, LinearPhaseGivesItsDelayAtEveryPoint) {
  // -0.01 rad per 0.1 MHz step: 159.16 x 0.01 / 0.1 ns.
  GroupDelay g;
  g.Start(1);
  EXPECT_EQ(g.Step(0.3, 0.1), 0);  // no step at the first point
  for (int i = 1; i < 20; ++i) EXPECT_NEAR(g.Step(0.3 - 0.01 * i, 0.1), 15.916, 1e-9);
}

TEST(GroupDelay, StepsOfALongLineAcrossTheWrapKeepTheirDelay) {
  // 300 ns at 1 MHz steps: -1.885 rad per step, stored folded into (-pi, pi].
  GroupDelay g;
  g.Start(3);
  double phase = 2.5;
  g.Step(phase, 1);
  for (int i = 1; i < 40; ++i) {
    phase = WrapPhase(phase - 2 * M_PI * 1e6 * 300e-9);
    EXPECT_NEAR(g.Step(phase, 1), 300, 0.1) << i;
  }
  // A point moved 0.02 MHz up keeps the delay: its step is 1.02 MHz.
  phase = WrapPhase(phase - 2 * M_PI * 1.02e6 * 300e-9);
  EXPECT_NEAR(g.Step(phase, 1.02), 300, 0.1);
}

TEST(GroupDelay, RunningAverageIsThePlainMeanOverTheFirstWindow) {
  GroupDelay g;
  g.Start(4);
  g.Step(0, 1);
  g.Step(-0.1, 1);                              // step -0.1
  EXPECT_NEAR(g.Step(-0.4, 1), 159.16 * 0.2, 1e-9);  // mean of -0.1 and -0.3
}

TEST(MeanDelay, SlopeOfTheMiddleHalfOfAnyLength) {
  // -0.01 rad per 0.1 MHz step: -0.1 rad/MHz. Lengths that 4 does not divide
  // give quarters of unequal length.
  for (int n : {100, 90, 91, 7}) {
    std::vector<double> p(n), f(n);
    for (int i = 0; i < n; ++i) {
      p[i] = 1 - 0.01 * i;
      f[i] = 5 + 0.1 * i;
    }
    EXPECT_NEAR(MeanDelay(p.data(), f.data(), n), -0.1 / (2 * M_PI * 1e6), 1e-15) << n;
  }
}

TEST(MeanDelay, StoredPhasesThatWrapAreUnwrappedFirst) {
  // 300 ns at 1 MHz steps wraps about every third point; from point 30 on
  // the list has moved every frequency 0.02 MHz up.
  std::vector<double> p(61), f(61);
  for (int i = 0; i < 61; ++i) {
    f[i] = 10 + i + (i >= 30 ? 0.02 : 0);
    p[i] = WrapPhase(-2 * M_PI * 1e6 * 300e-9 * f[i]);
  }
  EXPECT_NEAR(MeanDelay(p.data(), f.data(), 61), -300e-9, 1e-12);
  EXPECT_EQ(MeanDelay(p.data(), f.data(), 3), 0);
  std::vector<double> same(61, 10);
  EXPECT_EQ(MeanDelay(p.data(), same.data(), 61), 0);
}

// An instrument whose load level and phase follow the gain step and the
// sensitivity: level[sens][gain], phase = 0.4 x gain + 2.5 (+1 at high
// sensitivity), folded into (-pi, pi].
struct FakeFrontEnd {
  int level[3][6] = {};
  int reads = 0;
  int fail_at = -1;  // this read (counted from 1) fails with no data
  void Read() {
    ++reads;
    if (reads == fail_at) vna_status = 10;
    load_adc_min = 0;
    load_adc_max = 2 * level[PortB_Sens][PortB_Gain];
    Delta_Phase = WrapPhase(0.4 * PortB_Gain + (PortB_Sens == 2 ? 1 : 0) + 2.5);
  }
};

// A re-read that fails ends the ranging at once with its status: no further
// step is read (each would fail again), and no jump of the point is carried.
TEST(Autorange, StepsTheGainUntilTheLevelFits) {
  struct Case {
    const char* what;
    int uhf, gain, sens;
    int levels[3][6];
    int want_gain, want_sens, want_reads;
    double want_offset;  // the jumps of the steps taken, each within +-pi
    int fail_at = 0;     // this re-read (from 1) fails
  };
  const Case cases[] = {
      {"500 needs nothing", 0, 3, 1, {{}, {0, 0, 0, 500, 0, 0}, {}}, 3, 1, 0, 0},
      {"28000 needs nothing", 0, 3, 1, {{}, {0, 0, 0, 28000, 0, 0}, {}}, 3, 1, 0, 0},
      {"strong: two steps down", 0, 3, 1, {{}, {0, 1000, 30000, 30000, 0, 0}, {}}, 1, 1, 2, -0.8},
      {"too strong everywhere: gain 1, then low sensitivity",
       0,
       3,
       2,
       {{}, {0, 40000, 0, 0, 0, 0}, {0, 40000, 40000, 40000, 0, 0}},
       1,
       1,
       3,
       0},
      {"weak: high sensitivity first, then gain",
       0,
       1,
       1,
       {{}, {0, 100, 0, 0, 0, 0}, {0, 200, 300, 900, 0, 0}},
       3,
       2,
       3,
       0.8},
      {"weak on the two-oscillator model: gain only",
       1,
       1,
       1,
       {{}, {0, 100, 200, 300, 400, 450}, {}},
       5,
       1,
       4,
       0},
      {"strong: the second step down fails",
       0,
       4,
       1,
       {{}, {0, 1000, 30000, 30000, 30000, 0}, {}},
       2,
       1,
       2,
       0,
       2},
      {"weak: the switch to high sensitivity fails",
       0,
       1,
       1,
       {{}, {0, 100, 0, 0, 0, 0}, {0, 200, 300, 900, 0, 0}},
       1,
       2,
       1,
       0,
       1},
      {"weak: the third gain step fails",
       0,
       1,
       1,
       {{}, {0, 100, 0, 0, 0, 0}, {0, 200, 300, 400, 0, 0}},
       3,
       2,
       3,
       0,
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFrontEnd fe;
    std::copy(&c.levels[0][0], &c.levels[0][0] + 18, &fe.level[0][0]);
    model_uhf = c.uhf;
    PortB_Gain = c.gain;
    PortB_Sens = c.sens;
    gain_phase_offset = 0;
    vna_status = 0;
    fe.Read();
    fe.reads = 0;
    fe.fail_at = c.fail_at;
    AutorangePoint([&] { fe.Read(); });
    EXPECT_EQ(PortB_Gain, c.want_gain);
    EXPECT_EQ(PortB_Sens, c.want_sens);
    EXPECT_EQ(fe.reads, c.want_reads);
    EXPECT_NEAR(gain_phase_offset, c.want_offset, 1e-9);
    EXPECT_EQ(vna_status, c.fail_at > 0 ? 10 : 0);
  }
  model_uhf = 0;
  vna_status = 0;
}

TEST(Autorange, EachJumpIsWrappedOnItsOwn) {
  // Stepping from gain 2 to 1 crosses the fold of the phase (3.3 -> 2.9 reads
  // -2.98 -> 2.9): each jump is -0.4 once wrapped; keeping only the last
  // unwrapped difference would add 5.88.
  FakeFrontEnd fe;
  fe.level[1][3] = fe.level[1][2] = 30000;
  fe.level[1][1] = 1000;
  model_uhf = 0;
  PortB_Gain = 3;
  PortB_Sens = 1;
  gain_phase_offset = 0.1;
  fe.Read();
  AutorangePoint([&] { fe.Read(); });
  EXPECT_NEAR(gain_phase_offset, 0.1 - 0.8, 1e-9);
}

TEST(LevelAveraging, RaisesForWeakAndLowersForStrongTransmission) {
  const AveragingLevels med = AveragingLevelsFor(0.5);
  EXPECT_EQ(med.a8, 4);
  EXPECT_EQ(med.a64, 32);
  const AveragingLevels low = AveragingLevelsFor(0.125);
  EXPECT_EQ(low.a8, 1);
  EXPECT_EQ(low.a16, 2);
  // Weight "Med " from 4 averages: -95 dB, -105 dB, -70 dB, -70 dB.
  int n = 4;
  const int want[] = {16, 32, 16, 4};
  const double levels[] = {-95, -105, -70, -70};
  for (int i = 0; i < 4; ++i) {
    n = LevelAveraging(med, levels[i], n);
    EXPECT_EQ(n, want[i]) << levels[i];
  }
  EXPECT_EQ(LevelAveraging(med, -85, 12), 12);  // between -90 and -80 left alone
}

}  // namespace
}  // namespace vna
