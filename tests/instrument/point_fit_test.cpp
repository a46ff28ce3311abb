// Sine fit and the per-channel analysis of a reply, on known samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "files/settings.h"
#include "instrument/measurement_reply.h"
#include "instrument/sine_fit.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "shell/init_vars.h"
#include "shell/state.h"

namespace vna {
namespace {

class PointFit : public ::testing::Test {
 protected:
  void SetUp() override {
    InitVars();
    DIAGMODE = 0;
    transmission_mode = 0;
    testhook::ClearLogs();
  }
  // Sixteen samples of dc + amp * f(2 pi i / 16 + phi), rounded.
  static void Samples(int* out, double dc, double amp, double phi, bool cosine = false) {
    for (int i = 0; i < 16; ++i) {
      const double a = 2 * M_PI * i / 16 + phi;
      out[i] = static_cast<int>(std::lround(dc + amp * (cosine ? std::cos(a) : std::sin(a))));
    }
  }
};

TEST_F(PointFit, SineFitRecoversAmplitudePhaseAndOffset) {
  struct Case {
    const char* name;
    double amp, phi;
    bool cosine;
    int transmission;
    double want_phase;
  };
  const Case cases[] = {
      {"sine", 1000, 0, false, 0, 0},
      {"cosine", 1000, 0, true, 0, M_PI / 2},
      {"cosine, Port B negates", 1000, 0, true, 1, -M_PI / 2},
      {"sine at +2 rad", 700, 2.0, false, 0, 2.0},
      {"sine at -2.5 rad", 300, -2.5, false, 0, -2.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transmission_mode = c.transmission;
    Samples(fit_samples, 2048, c.amp, c.phi, c.cosine);
    SineFit();
    EXPECT_NEAR(fit_mag, c.amp, 1.0);
    EXPECT_NEAR(fit_phase, c.want_phase, 0.002);
    EXPECT_NEAR(fit_dc, 2048, 0.5);
    EXPECT_EQ(fit_max, *std::max_element(fit_samples, fit_samples + 16));
    EXPECT_EQ(fit_min, *std::min_element(fit_samples, fit_samples + 16));
  }
}

TEST_F(PointFit, SineFitEdgeCasesOfTheArctangent) {
  // All zero: S and C exactly 0, the constant -1.570796 (not -pi/2).
  for (int& s : fit_samples) s = 0;
  SineFit();
  EXPECT_EQ(fit_mag, 0);
  EXPECT_EQ(fit_dc, 0);
  EXPECT_EQ(fit_phase, -1.570796);

  // S exactly 0 and C positive: a sample only at i = 0 (sin 0 = 0, cos 0 = 1).
  for (int& s : fit_samples) s = 0;
  fit_samples[0] = 80;
  SineFit();
  EXPECT_EQ(fit_phase, 1.570796);
  EXPECT_DOUBLE_EQ(fit_mag, 10.0);  // 2 x 80 / 16

  // S negative: pi added when C is positive, subtracted when it is not.
  Samples(fit_samples, 0, 1000, M_PI - 0.1);
  SineFit();
  EXPECT_NEAR(fit_phase, M_PI - 0.1, 0.002);
  Samples(fit_samples, 0, 1000, -M_PI + 0.1);
  SineFit();
  EXPECT_NEAR(fit_phase, -M_PI + 0.1, 0.002);
}

TEST_F(PointFit, HarmonicsOnlyInDiagnosticMode) {
  for (int i = 0; i < 16; ++i) {
    fit_samples[i] = static_cast<int>(std::lround(2000 + 500 * std::sin(2 * M_PI * 2 * i / 16) +
                                                  250 * std::sin(2 * M_PI * 3 * i / 16)));
  }
  fit_mag2 = fit_mag3 = -1;
  SineFit();
  EXPECT_EQ(fit_mag2, -1);  // kept outside diagnostic mode
  EXPECT_EQ(fit_mag3, -1);
  DIAGMODE = 1;
  SineFit();
  EXPECT_NEAR(fit_mag2, 500, 1);
  EXPECT_NEAR(fit_mag3, 250, 1);
  EXPECT_NEAR(fit_mag, 0, 1);
}

class AnaRawDatTest : public PointFit {
 protected:
  void SetUp() override {
    PointFit::SetUp();
    raw_valid = 1;
    vna_status = 0;
    PortB_on = 0;
    gain_factor_A = 1;
    gain_factor_B = 1;
    freq = 5;
  }
  void Load(double amp, double phi) { Samples(ADCdata, 2048, amp, phi); }
  void Ref(double amp, double phi) { Samples(ADCdata + 16, 2048, amp, phi); }
};

TEST_F(AnaRawDatTest, PhaseDifferenceWrapsIntoOneTurn) {
  const struct {
    double load, ref, want;
  } cases[] = {
      {3.0, -3.0, 6.0 - 2 * 3.141592654},  // -0.2832
      {-3.0, 3.0, -6.0 + 2 * 3.141592654},
      {1.0, 0.5, 0.5},
      {-0.5, 1.0, -1.5},
  };
  for (const auto& c : cases) {
    Load(1000, c.load);
    Ref(1000, c.ref);
    AnaRawDat();
    EXPECT_NEAR(Delta_Phase, c.want, 0.003) << c.load << " " << c.ref;
    EXPECT_GT(Delta_Phase, -M_PI);
    EXPECT_LE(Delta_Phase, M_PI);
  }
}

TEST_F(AnaRawDatTest, GainFactorsOfTheActivePort) {
  Load(1000, 0);
  Ref(1500, 0);
  gain_factor_A = 5.015;
  AnaRawDat();
  EXPECT_NEAR(MagLoad, 1000 / 5.015, 0.3);
  EXPECT_NEAR(MagRef, 1500 / 5.015, 0.3);
  EXPECT_NEAR(load_mag_raw, 1000, 1);

  // Port B: the load by gain_factor_B (a factor below 0.1 counts as 1), the
  // reference by gain_factor_A all the same.
  PortB_on = 1;
  gain_factor_A = 2;
  gain_factor_B = 0.05;
  AnaRawDat();
  EXPECT_NEAR(MagLoad, 1000, 1);
  EXPECT_NEAR(MagRef, 750, 0.5);
  gain_factor_B = 4;
  AnaRawDat();
  EXPECT_NEAR(MagLoad, 250, 0.3);
}

TEST_F(AnaRawDatTest, NothingIsAnalysedWithoutAValidReply) {
  Load(1000, 0);
  Ref(1000, 0);
  AnaRawDat();
  const double kept = MagLoad;
  Load(10, 1);
  raw_valid = 0;
  AnaRawDat();
  EXPECT_EQ(MagLoad, kept);
}

TEST_F(AnaRawDatTest, SilentLoadBecomesTinyNotZero) {
  for (int i = 0; i < 16; ++i) ADCdata[i] = 0;
  Ref(1000, 0);
  AnaRawDat();
  EXPECT_EQ(MagLoad, 0.000000001);
}

TEST_F(AnaRawDatTest, WeakReferenceAboveTenMegahertz) {
  // A fitted reference of about 49.9 is taken as 50 and flagged above 10 MHz.
  Load(1000, 0);
  for (int i = 0; i < 16; ++i) ADCdata[16 + i] = 2048;
  ADCdata[16 + 4] += 399;  // 2 x 399 / 16 = 49.875 at sin = 1
  gain_factor_A = 2;
  freq = 10.5;
  AnaRawDat();
  EXPECT_EQ(MagRef, 25);
  EXPECT_EQ(vna_status, kStatusWeakReference);
  EXPECT_NE(testhook::PrintedText("main_win").find("*** No Reference signal at  10.5"),
            std::string::npos);

  vna_status = 0;
  freq = 9.5;
  AnaRawDat();
  EXPECT_NEAR(MagRef, 49.875 / 2, 1e-6);
  EXPECT_EQ(vna_status, 0);
}

}  // namespace
}  // namespace vna
