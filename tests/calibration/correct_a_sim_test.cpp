// The Port A correction against the instrument simulator and its imperfect
// bridge: short, open and standard resistor measured through the real point
// reads at a set of frequencies fill the table, and then the corrected
// readings of known loads give those loads back, on both models, through the
// line extension, and after the calibration went through its file.
#include <cmath>
#include <complex>
#include <set>
#include <string>
#include <vector>

#include "calibration/cal_fixture.h"
#include "calibration/cal_file.h"
#include "calibration/line_extension.h"
#include "instrument/point_reads.h"
#include "instrument/point_sim.h"
#include "support/sim_calibration.h"

namespace vna {
namespace {

using cplx = std::complex<double>;

const std::vector<double> kUhfCal = {1, 5, 10, 20, 30, 39, 41, 50, 60, 100, 150, 300, 600, 900};
const std::vector<double> kUhfAt = {1, 3, 10, 25, 39.5, 40.5, 45, 60, 80, 140, 200, 450, 600, 800};
const std::vector<double> k7306Cal = {0.5, 1, 5, 10, 20, 40, 60, 100, 150, 180};
const std::vector<double> k7306At = {0.5, 0.75, 3, 10, 15, 33, 60, 90, 125, 170, 180};

struct Load {
  const char* device;
  double r, l_uH;  // series inductance, 0 for none
  double x;        // fixed reactance
  cplx At(double mhz) const { return {r, x + 2 * M_PI * mhz * l_uH}; }
};
const Load kLoads[] = {
    {"r=75", 75, 0, 0},
    {"z=50,50", 50, 0, 50},
    {"z=10,-30", 10, 0, -30},
    {"series:r=5,l=1u", 5, 1, 0},
};

class CorrectASim : public PointSim {
 protected:
  void SetUp() override { test::ClearCalibration(); }
  void TearDown() override {
    test::ClearCalibration();
    PointSim::TearDown();
  }

  void Begin(const std::string& model) {
    Start(model);
    test::ClearCalibration();
    average = 16;
    AverageADC(average);
    DDSAmplitude(100);
  }

  void Calibrate(const std::vector<double>& freqs) { test::CalibratePortAOnSim(Sim(), freqs); }

  // The corrected and the raw reading of the present device at f.
  cplx Read(double f, cplx* raw = nullptr) {
    freq = f;
    ReadPoint_A(0);
    EXPECT_EQ(vna_status, 0) << f;
    EXPECT_EQ(freq, f);
    if (raw) *raw = {Rsm, Xsm};
    return {point_Rs, point_Xs};
  }

  // Each load read back within 1 % of |Z| at every frequency, where the raw
  // reading is well off somewhere.
  void CheckLoads(const std::vector<double>& freqs) {
    for (const Load& load : kLoads) {
      Sim().SetDut(load.device);
      double worst_raw = 0;
      for (double f : freqs) {
        SCOPED_TRACE(std::string(load.device) + " at " + std::to_string(f) + " MHz");
        cplx raw;
        const cplx want = load.At(f), got = Read(f, &raw);
        EXPECT_LT(std::abs(got - want), 0.01 * std::abs(want)) << got << " for " << want;
        if (want.imag() != 0) {
          EXPECT_EQ(got.imag() > 0, want.imag() > 0);  // an inductor stays an inductor
        }
        EXPECT_NEAR(Zmag, std::abs(want), 0.01 * std::abs(want));
        worst_raw = std::max(worst_raw, std::abs(raw - want) / std::abs(want));
      }
      EXPECT_GT(worst_raw, 0.1) << load.device << ": the raw reading is already right";
    }
  }
};

TEST_F(CorrectASim, TwoMultiplierModelReadsKnownLoads) {
  Begin("uhf");
  Calibrate(kUhfCal);
  // The table holds points of both oscillators and several multiplier pairs.
  std::set<int> states;
  for (int i = 0; i < cal_points; ++i) states.insert(CalDataA[i].multstate);
  EXPECT_GE(states.size(), 3u);
  CheckLoads(kUhfAt);
}

TEST_F(CorrectASim, SingleDdsModelReadsKnownLoads) {
  Begin("7306");
  Calibrate(k7306Cal);
  CheckLoads(k7306At);
}

TEST_F(CorrectASim, TheCalibrationWorksAfterItsFile) {
  Begin("uhf");
  Calibrate(kUhfCal);
  testing::TempDir dir;
  testhook::QueueFileAnswer(dir / "sim.vcal");
  SaveCalFile();
  test::ClearCalibration();
  GetPortACal(0);
  ASSERT_EQ(vna_status, 0);
  EXPECT_EQ(cal_points, static_cast<int>(kUhfCal.size()));
  Sim().SetDut("z=10,-30");
  for (double f : {3.0, 45.0, 450.0}) {
    const cplx got = Read(f);
    EXPECT_LT(std::abs(got - cplx(10, -30)), 0.01 * std::abs(cplx(10, -30))) << f;
  }
}

TEST_F(CorrectASim, LineExtensionMovesTheReferenceToTheFarEnd) {
  Begin("uhf");
  const std::vector<double> freqs = {1, 5, 10, 20, 30, 40, 50, 60};
  Calibrate(freqs);
  const struct {
    double z0, vf, len;
    const char* end;
    double r;
  } cases[] = {
      {50, 0.66, 0.5, "r=30", 30},
      {75, 0.8, 1.2, "r=150", 150},
      {50, 1.0, 0.25, "load", 50},
      {93, 0.84, 2.0, "r=40", 40},
  };
  for (const auto& c : cases) {
    const std::string device = "line:z0=" + std::to_string(c.z0) + ",vf=" + std::to_string(c.vf) +
                               ",len=" + std::to_string(c.len) + ",end=" + c.end;
    Sim().SetDut(device);
    ExtensionFlag = 1;
    Zextension = c.z0;
    ExtensionLength = c.len;
    ExtensionVP = c.vf;
    ext_phase_per_MHz = LinePhasePerMHz(c.len, c.vf);
    for (double f : {2.0, 15.0, 35.0, 55.0}) {
      SCOPED_TRACE(device + " at " + std::to_string(f) + " MHz");
      const cplx got = Read(f);
      EXPECT_LT(std::abs(got - cplx(c.r, 0)), 0.01 * c.r) << got;
    }
    // Without the extension the line's input is read, which is not the load
    // (the matched line aside).
    ExtensionFlag = 0;
    const cplx input = Read(35);
    if (c.r != c.z0) {
      EXPECT_GT(std::abs(input - cplx(c.r, 0)), 0.1 * c.r) << input;
    }
  }
}

}  // namespace
}  // namespace vna
