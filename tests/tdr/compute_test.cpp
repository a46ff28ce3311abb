// The TDR plan, the full-scale snapping, the smoothing pass and the
// transform, the last checked against a discrete Fourier transform written
// here from its definition.
#include <cmath>
#include <complex>
#include <vector>

#include "tdr/tdr_fixture.h"

namespace vna::test {
namespace {

using cplx = std::complex<double>;

TEST_F(TdrTest, ThePlanFollowsDistanceResolutionAndModel) {
  // Plot box 800 x 500 pixels.
  struct Case {
    double dxscale;
    int high_res;
    double maxf, vf, dist_factor;
    int n;
    double delf, feet_per_ndx, dx_factor;
  };
  // One sample spans 1 / (n delf) microseconds of the round trip: half the
  // speed of light on the line, 491.78 VF feet per microsecond, per sample.
  // The axis draws DXscale feet over the box's 800 pixels.
  const auto feet = [](double vf, double delf, int n) {
    return 299.792458 / 0.3048 / 2 * vf / (delf * n);
  };
  const Case cases[] = {
      // 100 ft, 256 points: 1.25 MHz steps up to 160 MHz, 1.0143 ft per sample.
      {100, 0, 180, 0.66, 1, 256, 1.25, feet(0.66, 1.25, 256), 800 / 100.0},
      {101, 0, 1200, 0.66, 1, 256, 0.75, feet(0.66, 0.75, 256), 800 / 101.0},
      {200, 0, 1200, 1, 1, 256, 0.75, feet(1, 0.75, 256), 800 / 200.0},
      {201, 0, 1200, 1, 1, 256, 0.3, feet(1, 0.3, 256), 800 / 201.0},
      {500, 0, 1200, 1, 1, 256, 0.3, feet(1, 0.3, 256), 800 / 500.0},
      {501, 0, 1200, 1, 1, 256, 0.15, feet(1, 0.15, 256), 800 / 501.0},
      // High resolution doubles the top frequency: 320 MHz on the 1200 MHz
      // model, but only 180 on the 180 MHz one (2 x 180 / 512 = 0.703125).
      {100, 1, 1200, 0.66, 1, 512, 1.25, feet(0.66, 1.25, 512), 800 / 100.0},
      {100, 1, 180, 0.66, 1, 512, 0.703125, feet(0.66, 0.703125, 512), 800 / 100.0},
      {5, 0, 180, 0.8, 2, 256, 1.25, feet(0.8, 1.25, 256), 800 / 5.0 * 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dxscale);
    DXscale = c.dxscale;
    tdr_high_res = c.high_res;
    maximumfreq = c.maxf;
    VF = c.vf;
    tdr_dist_factor = c.dist_factor;
    LengthOffset = 99;
    SetTDRPoints();
    EXPECT_EQ(Numpts, c.n);
    EXPECT_DOUBLE_EQ(Tdr_delf, c.delf);
    EXPECT_NEAR(FeetPerNdx, c.feet_per_ndx, 1e-5 * c.feet_per_ndx);
    EXPECT_DOUBLE_EQ(DXfactor, c.dx_factor);
    EXPECT_EQ(LengthOffset, 10);
  }
  // Vertical scales: 500 pixels over the full scale; below 100 ohms half the
  // height spans 50 ohms to the full scale.
  const struct {
    double zmax, range_factor, zscale, rho_scale;
  } scales[] = {{200, 1, 2.5, 250}, {1000, 0.6, 0.5, 250 / 0.6}, {70, 1, 12.5, 250}};
  for (const auto& s : scales) {
    tdr_zmax = s.zmax;
    tdr_range_factor = s.range_factor;
    SetTDRPoints();
    EXPECT_DOUBLE_EQ(tdr_zscale, s.zscale) << s.zmax;
    EXPECT_DOUBLE_EQ(tdr_rho_scale, s.rho_scale) << s.zmax;
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(TdrTest, FullScalesSnapUpToWhatThePlotCanDraw) {
  const struct {
    double in, feet;
  } distances[] = {{0, 5},    {3, 5},       {5, 5},         {7.4, 10},    {120, 200},
                   {-50, 50}, {100.1, 100}, {1000.5, 1000}, {2000, 2000}, {2500, 2000}};
  for (const auto& d : distances) EXPECT_EQ(SnapTDRDistance(d.in), d.feet) << d.in;
  const struct {
    double in, ohms;
  } impedances[] = {{0, 70},    {30, 70},    {50, 70},      {70.4, 70},  {70.6, 100},
                    {150, 200}, {-300, 500}, {999.6, 1000}, {5000, 1000}};
  for (const auto& z : impedances) EXPECT_EQ(SnapTDRImpedance(z.in), z.ohms) << z.in;
}

TEST_F(TdrTest, SmoothingPasses) {
  // h = 8: samples 1..7 are the response; 0 and 8 lie outside it.
  const std::vector<double> in = {-9, 1, 2, 4, 8, 16, 32, 64, -9};
  // Three points over samples 2..6, each with the one just smoothed before it.
  const double a = (1 + 2 + 4) / 3.0, b = (a + 4 + 8) / 3, c = (b + 8 + 16) / 3,
               d = (c + 16 + 32) / 3, e = (d + 32 + 64) / 3;
  struct Case {
    int mode;
    std::vector<double> out;
  };
  const Case cases[] = {
      // Samples 1..5 with their right neighbour, each from the unsmoothed
      // one; 6 and 7 stay.
      {0, {-9, 1.5, 3, 6, 12, 24, 32, 64, -9}},
      {1, {-9, 1, a, b, c, d, e, 64, -9}},
      {2, {-9, 1, a, b, c, d, e, 64, -9}},
  };
  for (const Case& k : cases) {
    std::vector<double> r = in;
    SmoothTDR(r.data(), 8, k.mode);
    for (size_t i = 0; i < r.size(); ++i) EXPECT_DOUBLE_EQ(r[i], k.out[i]) << k.mode << " " << i;
  }
}

// The step response by the definition: the spectrum of a real signal from
// its points 0..N/2, its inverse DFT, the running sum.
std::vector<double> DefinitionStep(const std::vector<cplx>& half, int n, bool hamming) {
  std::vector<cplx> x(n);
  for (int k = 0; k <= n / 2; ++k) x[k] = half[k];
  for (int k = 1; k < n / 2; ++k) x[n - k] = std::conj(half[k]);
  if (hamming) {
    for (int k = 0; k < n; ++k) x[k] *= 10 * (0.54 - 0.46 * std::cos(2 * M_PI * k / (n - 1)));
  }
  std::vector<double> step(n / 2, 0.0);
  double sum = 0;
  for (int t = 1; t < n / 2; ++t) {
    cplx v = 0;
    for (int k = 0; k < n; ++k) v += x[k] * std::polar(1.0, 2 * M_PI * t * k / n);
    sum += v.real();
    step[t] = sum * 0.0019417 * 512 / n;
  }
  return step;
}

TEST_F(TdrTest, TheTransformOfADelayMatchesTheDefinition) {
  // A reflection of 0.4 arriving after 23.5 samples, with a little
  // dispersion, on 256 and 512 points, with and without the window.
  for (int n : {256, 512}) {
    for (bool hamming : {false, true}) {
      SCOPED_TRACE(std::to_string(n) + (hamming ? " windowed" : ""));
      std::vector<cplx> half(n / 2 + 1);
      std::vector<double> re(n / 2 + 1), im(n / 2 + 1);
      for (int k = 0; k <= n / 2; ++k) {
        const double phase = -2 * M_PI * k * 23.5 / n - 0.3 * k * k / (n * n);
        half[k] = std::polar(0.4, phase);
        re[k] = half[k].real();
        im[k] = half[k].imag();
      }
      std::vector<double> got(2100, -7.0);
      TDRStepResponse(re.data(), im.data(), n, hamming, got.data());
      const std::vector<double> want = DefinitionStep(half, n, hamming);
      EXPECT_EQ(got[0], -7.0);
      EXPECT_EQ(got[n / 2], -7.0);
      for (int t = 1; t < n / 2; ++t) EXPECT_NEAR(got[t], want[t], 1e-9) << t;
      if (!hamming) {
        // A step of about 0.4 centred at sample 23.5: by symmetry half of
        // it is summed through sample 23; none well before it.
        EXPECT_NEAR(got[10], 0, 0.02);
        EXPECT_NEAR(got[23], 0.2, 0.02);
        EXPECT_NEAR(got[60], 0.4 * 0.0019417 * 512, 0.02);
      }
    }
  }
}

}  // namespace
}  // namespace vna::test
