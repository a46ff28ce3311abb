// The Port B correction on a made-up through calibration, the port-load
// reflection and the S21 mismatch correction, and the day count of the relay
// cleaning.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "calibration/correct_b.h"
#include "calibration/multichannel.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna {
namespace {

using cplx = std::complex<double>;
constexpr double kTwoPi = 2 * M_PI;

class CorrectBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pi = 3.141592654;
    twopi = 2 * pi;
    OSC = 1;
    mult_code = 0;
    CalinProgress = no_cal_comp = 0;
    autorange = 1;
    delay_offset = 0;
    PortB_Sens = 1;
    PortB_Gain = 1;
    MyVar3 = MyVar4 = 0;
    // Two records at 10 and 20 MHz: ratio 0.5 and phase 0 at low sensitivity,
    // ratio 2 and phase 0.25 at high.
    for (int i = 0; i < 2; ++i) {
      CalPointB& p = CalDataB[i];
      p = CalPointB{};
      p.freq = 10 + 10 * i;
      p.ratio_low = 0.5;
      p.ratio_high = 2;
      p.phase_high = 0.25;
      p.multstate = 1000;
    }
    MaxCalBNdx = 1;
    freq = 15;
  }
  void TearDown() override { last_phase_B = 0; }

  // One correction of the raw phase `raw` with last_phase_B at `last`.
  void Correct(double raw, double last, double ratio = 1) {
    Delta_Phase = raw;
    last_phase_B = last;
    ratio_BA = ratio;
    CorrectB();
  }
};

TEST_F(CorrectBTest, WrapRuleFoldsOnlyAJumpAwayFromTheLastAcceptedPhase) {
  struct Case {
    double raw, last, zphase, last_after;
  } cases[] = {
      {1.0, 0, 1.0, 1.0},                     // small: kept and accepted
      {-3.1, 2, -3.1, -3.1},                  // below 3.115: never folded
      {3.2, 3.19, 3.2, 3.19},                 // near the last: left past pi
      {3.2, 0, 3.2 - kTwoPi, 3.2 - kTwoPi},   // a jump: folded once
      {-3.5, 0, -3.5 + kTwoPi, -3.5 + kTwoPi},
      {9.5, 0, 9.5 - 2 * kTwoPi, 9.5 - 2 * kTwoPi},  // folded into -pi..pi
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    Correct(c.raw, c.last);
    EXPECT_NEAR(Zphase, c.zphase, 1e-8);
    EXPECT_NEAR(last_phase_B, c.last_after, 1e-8);
  }
}

TEST_F(CorrectBTest, RemovesDelayGainPhaseAndCalibrationAtTheChosenSensitivity) {
  // Low sensitivity: ratio divided by 0.5, phase as read.
  Correct(0.5, 0, 0.25);
  EXPECT_DOUBLE_EQ(ratio_BA, 0.5);
  EXPECT_NEAR(Zphase, 0.5, 1e-12);
  // High sensitivity: ratio 2 and phase 0.25 of the high fields.
  PortB_Sens = 2;
  Correct(0.5, 0, 1);
  EXPECT_DOUBLE_EQ(ratio_BA, 0.5);
  EXPECT_NEAR(Zphase, 0.25, 1e-12);
  PortB_Sens = 1;
  // A delay of 2 ns at 15 MHz is 2 pi x 15e6 x 2e-9 rad, exactly removed.
  delay_offset = 2e-9;
  Correct(0.3, 0);
  EXPECT_NEAR(Zphase, 0.3 - kTwoPi * 15e6 * 2e-9, 1e-9);
  delay_offset = 0;
  // The gain step's phase only when the gain is set by hand.
  PortB_Gain = 3;
  Rng[3] = 0.1;
  Correct(0.3, 0);
  EXPECT_NEAR(Zphase, 0.3, 1e-12);
  autorange = 0;
  Correct(0.3, 0);
  EXPECT_NEAR(Zphase, 0.2, 1e-12);
}

TEST_F(CorrectBTest, LeavesTheReadingWhereTheCalibrationCannotCorrectIt) {
  // A calibrated ratio of 0 leaves the ratio as read.
  CalDataB[0].ratio_low = CalDataB[1].ratio_low = 0;
  Correct(0.2, 0, 0.75);
  EXPECT_EQ(ratio_BA, 0.75);
  EXPECT_NEAR(Zphase, 0.2, 1e-12);
  // Switched off: nothing written, 4 decimals set.
  no_cal_comp = 1;
  Zphase = 7;
  SetDigits(2);
  Correct(0.2, 0, 0.75);
  EXPECT_EQ(Zphase, 7);
  EXPECT_EQ(NumStr(1.5), " 1.5000");
  no_cal_comp = 0;
  // During a calibration nothing at all.
  CalinProgress = 1;
  SetDigits(2);
  Correct(0.2, 0, 0.75);
  EXPECT_EQ(Zphase, 7);
  EXPECT_EQ(NumStr(1.5), " 1.50");
  CalinProgress = 0;
  // Below the first record: the load phase, the ratio unchanged, a notice.
  freq = 5;
  load_phase = -1.25;
  Correct(0.2, 0, 0.75);
  EXPECT_EQ(Zphase, -1.25);
  EXPECT_EQ(ratio_BA, 0.75);
  EXPECT_EQ(msg_text.rfind("PortB: Could not find cal data in the array. Freq= ", 0), 0u)
      << msg_text;
}

// The port loads of the table, by hand.
const double kA[14][2] = {{50.18, -0.16}, {49.29, -2.24}, {46.84, -3.13}, {43.81, -2.51},
                          {41.41, -0.32}, {40.34, 3.18},  {40.95, 7.32},  {42.77, 12.0},
                          {46.74, 16.18}, {52.8, 17.44},  {62.2, 14.4},   {71.0, 5.3},
                          {69.7, -7.97},  {60.8, -14.95}};
const double kB[14][2] = {{49.7, 0},     {49.79, -0.37}, {49.55, -0.29}, {48.62, -0.27},
                          {47.83, -0.03}, {47.51, 0.55},  {47.77, 1.47},  {47.6, 3.0},
                          {47.63, 4.34},  {47.38, 4.7},   {48.38, 4.18},  {50.62, 2.79},
                          {52.15, 3.36},  {49.7, 4.04}};

cplx Gamma(cplx z, double zref) {
  return (z - zref) / (z + zref);
}

TEST(PortLoad, ReflectionInterpolatesTheTableAndHoldsItsLastEntryAbove650MHz) {
  InitPortLoadTables();
  Zref = 50;
  struct Case {
    double f;
    cplx a, b;  // the port loads expected
  } cases[] = {
      {0, {50.18, -0.16}, {49.7, 0}},
      {50, {49.29, -2.24}, {49.79, -0.37}},
      {75, {(49.29 + 46.84) / 2, (-2.24 - 3.13) / 2}, {(49.79 + 49.55) / 2, (-0.37 - 0.29) / 2}},
      {610, {69.7 + 0.2 * (60.8 - 69.7), -7.97 + 0.2 * (-14.95 + 7.97)},
       {52.15 + 0.2 * (49.7 - 52.15), 3.36 + 0.2 * (4.04 - 3.36)}},
      {650, {60.8, -14.95}, {49.7, 4.04}},
      {700, {60.8, -14.95}, {49.7, 4.04}},
      {1200, {60.8, -14.95}, {49.7, 4.04}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.f);
    freq = c.f;
    GetLoadGamma(1);
    EXPECT_NEAR(std::abs(cplx(load_gamma.r, load_gamma.i) - Gamma(c.a, 50)), 0, 1e-12);
    GetLoadGamma(0);
    EXPECT_NEAR(std::abs(cplx(load_gamma.r, load_gamma.i) - Gamma(c.b, 50)), 0, 1e-12);
  }
  for (int k = 0; k < 14; ++k) {
    EXPECT_EQ(load_A_R[k], kA[k][0]);
    EXPECT_EQ(load_A_X[k], kA[k][1]);
    EXPECT_EQ(load_B_R[k], kB[k][0]);
    EXPECT_EQ(load_B_X[k], kB[k][1]);
  }
}

TEST(PortLoad, MismatchCorrectionOfS21) {
  InitPortLoadTables();
  Zref = 50;
  struct Case {
    double f;
    cplx s21;
  } cases[] = {{100, {1, 0}}, {425, {0.1, -0.3}}, {0, {0, 0}}, {900, {0.5, 0.5}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.f);
    freq = c.f;
    const int n = std::min(static_cast<int>(c.f / 50), 13);
    const double t = n < 13 ? (c.f - 50 * n) / 50 : 0;
    const int m = std::min(n + 1, 13);
    const cplx za(kA[n][0] + (kA[m][0] - kA[n][0]) * t, kA[n][1] + (kA[m][1] - kA[n][1]) * t);
    const cplx zb(kB[n][0] + (kB[m][0] - kB[n][0]) * t, kB[n][1] + (kB[m][1] - kB[n][1]) * t);
    const cplx ga = Gamma(za, 50), gb = Gamma(zb, 50);
    const cplx want = c.s21 * (1.0 - 0.5 * gb) * (1.0 - 0.5 * ga) / (1.0 - ga * gb);
    s11 = S22 = {9, 9};
    s21 = {c.s21.real(), c.s21.imag()};
    CorrectS21();
    EXPECT_NEAR(std::abs(cplx(s21.r, s21.i) - want), 0, 1e-12);
    EXPECT_EQ(s11.r, 0.5);
    EXPECT_EQ(s11.i, 0);
    EXPECT_EQ(S22.r, 0.5);
    EXPECT_EQ(S22.i, 0);
  }
}

TEST(RelayCleaning, DayCountAndCycles) {
  struct Day {
    int y, m, d;
    const char* text;
    int number;
  } days[] = {{2026, 12, 10, "261210", 2026 + 330 + 10},
              {2026, 12, 31, "261231", 2026 + 330 + 31},
              {2027, 1, 1, "270101", 2027 + 1},
              {2030, 2, 5, "300205", 2030 + 30 + 5}};
  for (const Day& d : days) {
    SetLocalDate(d.y, d.m, d.d);
    GetDayNumber();
    EXPECT_EQ(msg_text, d.text);
    EXPECT_EQ(day_number, d.number);
  }
  SetLocalDate(0, 0, 0);
  struct Cycles {
    int today, last, count, want;
  } cycles[] = {
      {2366, 2366, 1, 1},  // same day: exactly the asked count
      {2366, 2366, 5, 5},
      {2367, 2366, 5, 5},  // a day rounds down
      {2372, 2366, 1, 4},
      {2382, 2366, 1, 8},  // 16 days: the most
      {2382, 2366, 5, 8},
      {2028, 2387, 1, 8},  // new year: the count drops by 359
      {2362, 2366, 5, 7},  // clock set back: the distance counts
  };
  for (const Cycles& c : cycles) {
    EXPECT_EQ(CleaningCycles(c.today, c.last, c.count), c.want) << c.today << " " << c.last;
  }
}

}  // namespace
}  // namespace vna
