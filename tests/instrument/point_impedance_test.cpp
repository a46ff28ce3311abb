// Raw impedance, replayed impedance and the reflection quantities.
#include <gtest/gtest.h>

#include <cmath>

#include "files/settings.h"
#include "instrument/impedance.h"
#include "instrument/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"

namespace vna {
namespace {

class PointImpedance : public ::testing::Test {
 protected:
  void SetUp() override {
    InitVars();
    DIAGMODE = 0;
    raw_Z0 = 50;
    z_factor = 1;
    Zref = 50;
    Z0imag = 0;
    freq = 10;
  }
};

TEST_F(PointImpedance, RawImpedanceFromTheFit) {
  const struct {
    const char* name;
    double load, ref, phase;
    double rs, xs, rp, xp, phase_deg;
  } cases[] = {
      {"matched", 1000, 1000, 0, 50, 0, 50, 1000000, 0},
      {"-90 degrees", 1000, 1000, -1.5707963, 0, -50, 1000000, -50, -90.0003},
      {"100 ohm at +45", 500, 1000, M_PI / 4, 70.7107, 70.7107, 141.421, 141.421,
       57.296 * M_PI / 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MagLoad = c.load;
    MagRef = c.ref;
    Delta_Phase = c.phase;
    RawImpedance();
    EXPECT_NEAR(Rsm, c.rs, 1e-3);
    EXPECT_NEAR(Xsm, c.xs, 1e-3);
    EXPECT_NEAR(Rp_raw, c.rp, 1e-2);
    EXPECT_NEAR(Xp_raw, c.xp, 1e-2);
    EXPECT_NEAR(fit_phase, c.phase_deg, 1e-4);
  }
}

TEST_F(PointImpedance, RawImpedanceGuards) {
  // No load signal at all: |Z| of a million.
  MagLoad = 0;
  MagRef = 1000;
  Delta_Phase = 0;
  RawImpedance();
  EXPECT_EQ(Rsm, 1000000);

  // A reactance within 0.001 of zero keeps its sign in the parallel value.
  MagLoad = 1000;
  Delta_Phase = -0.00001;  // Xsm = -0.0005
  RawImpedance();
  EXPECT_NEAR(Xsm, -0.0005, 1e-6);
  EXPECT_EQ(Xp_raw, -1000000);
  Delta_Phase = 0.00001;
  RawImpedance();
  EXPECT_EQ(Xp_raw, 1000000);

  // z_factor divides the magnitude ratio; a frequency below 0.0001 is raised.
  z_factor = 2;
  freq = 0;
  Delta_Phase = 0;
  RawImpedance();
  EXPECT_NEAR(Rsm, 100, 1e-9);
  EXPECT_EQ(freq, 0.0001);
}

TEST_F(PointImpedance, CalcRhoCases) {
  const struct {
    const char* name;
    double r, x, zref, z0imag;
    double rho, swr, rl;
  } cases[] = {
      {"150 ohm", 150, 0, 50, 0, 0.5, 3, -6.0206},
      {"short", 0, 0, 50, 0, 1, 999, 0},
      {"25 ohm", 25, 0, 50, 0, 1.0 / 3, 2, -9.5424},
      {"75 ohm on 75", 75, 0, 75, 0, 0, 1, -200},
      {"50-j50", 50, -50, 50, 0, std::sqrt(0.2), 2.618, -6.9897},
      {"matched to a complex reference", 50, 30, 50, 30, 0, 1, -200},
      {"complex reference", 50, 0, 50, 30, std::sqrt(900.0 / 10900), 1.80643, -10.8316},
      {"open-like", 1e9, 0, 50, 0, 1, 999, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Zref = c.zref;
    Z0imag = c.z0imag;
    CalcRho(c.r, c.x);
    EXPECT_NEAR(rho, c.rho, 1e-4);
    EXPECT_NEAR(swr, c.swr, 1e-3);
    EXPECT_NEAR(return_loss, c.rl, 1e-3);
    EXPECT_LE(swr, 999);
  }
}

TEST_F(PointImpedance, ComplexCoefficientAndItsPhase) {
  plot_s11 = 1;
  CalcRho(25, 0);
  EXPECT_NEAR(s11.r, -1.0 / 3, 1e-9);
  EXPECT_EQ(s11.i, 0);
  EXPECT_NEAR(rho_phase, 3.141592654, 1e-9);  // k = pi since s11.i is 0
  EXPECT_NEAR(rho_mag, 1.0 / 3, 1e-9);

  CalcRho(50, 50);  // (j50) / (100 + j50) = 0.2 + j0.4
  EXPECT_NEAR(s11.r, 0.2, 1e-12);
  EXPECT_NEAR(s11.i, 0.4, 1e-12);
  EXPECT_NEAR(rho_phase, std::atan2(0.4, 0.2), 1e-9);

  CalcRho(20, -10);  // lower left quadrant: -pi added
  EXPECT_LT(s11.r, 0);
  EXPECT_LT(s11.i, 0);
  EXPECT_NEAR(rho_phase, std::atan2(s11.i, s11.r), 1e-9);

  // A tiny imaginary reference counts as real for rho but still enters s11.
  Z0imag = 0.0005;
  CalcRho(50, 0);
  EXPECT_EQ(rho, 0);
  EXPECT_NE(s11.i, 0);
}

TEST_F(PointImpedance, CoefficientIsFormedWithoutTheS11Trace) {
  // Its readers (Port A smoothing, the Port B scan) need it for every point.
  plot_s11 = 0;
  CalcRho(150, 0);
  EXPECT_NEAR(rho_mag, 0.5, 1e-12);
  EXPECT_NEAR(rho_phase, 0, 1e-12);
  CalcRho(25, 0);
  EXPECT_NEAR(rho_phase, 3.141592654, 1e-9);
}

TEST_F(PointImpedance, ReplayedPointFromPolar) {
  const struct {
    double zmag, zphase, rs, xs, rp, xp;
  } cases[] = {
      {100, 0, 100, 0, 100, 100000},
      {100, M_PI / 2, 0.001, 100, 10000000, 100},  // Rs raised to 0.001
      {50, -M_PI / 4, 35.3553, -35.3553, 70.7107, -70.7107},
  };
  for (const auto& c : cases) {
    Zmag = c.zmag;
    Zphase = c.zphase;
    freq = 0.0005;
    ImpedanceFromPolar();
    EXPECT_NEAR(point_Rs, c.rs, 1e-3);
    EXPECT_NEAR(point_Xs, c.xs, 1e-3);
    EXPECT_NEAR(Rp, c.rp, 1e-2 * std::max(1.0, c.rp / 1e4));
    EXPECT_NEAR(Xp, c.xp, 1e-3);
    EXPECT_EQ(freq_plot, 0.0005);
    EXPECT_EQ(freq, 0.005);
  }
  Zmag = 150;
  Zphase = 0;
  ImpedanceFromPolar();
  EXPECT_NEAR(swr, 3, 1e-9);
}

}  // namespace
}  // namespace vna
