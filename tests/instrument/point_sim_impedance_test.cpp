// Raw impedance of simulated devices through an ideal bridge, across each
// model's range, including the oscillator and multiplier changes.
#include <cmath>
#include <complex>

#include "instrument/frequency_programming.h"
#include "instrument/impedance.h"
#include "instrument/measurement_reply.h"
#include "instrument/serial_link.h"
#include "instrument/point_reads.h"
#include "point_sim.h"

namespace vna {
namespace {

struct Dut {
  const char* device;
  double r, x;
};
const Dut kDuts[] = {{"r=10", 10, 0},     {"r=50", 50, 0},     {"r=200", 200, 0},
                     {"r=1000", 1000, 0}, {"z=50,50", 50, 50}, {"z=20,-80", 20, -80}};

void CheckRange(PointSim& t, test::SimRunner& sim, const std::vector<double>& freqs) {
  // Sixteen readings per point keep the finest word resolution; low
  // impedances get less drive so that their large load signal stays within
  // the converter's range.
  average = 16;
  AverageADC(average);
  for (const Dut& d : kDuts) {
    sim.SetDut(d.device);
    DDSAmplitude(std::abs(std::complex<double>(d.r, d.x)) < 40 ? 40 : 100);
    for (double f : freqs) {
      SCOPED_TRACE(std::string(d.device) + " at " + std::to_string(f) + " MHz");
      freq = f;
      ReadPoint_A(0);
      ASSERT_EQ(vna_status, 0);
      EXPECT_EQ(freq, f);
      const std::complex<double> want(d.r, d.x), got(Rsm, Xsm);
      EXPECT_LT(std::abs(got - want) / std::abs(want), 0.005) << got;
    }
  }
  (void)t;
}

class PointSimImpedance : public PointSim {};

TEST_F(PointSimImpedance, TwoMultiplierModelAcrossItsRange) {
  Start("uhf", {"--bridge", "ideal"});
  // Segment edges of the multiplier plan (40, 65, 308, 385, 585, 710, 840,
  // 940 MHz) and bands of the second oscillator (99..110, 148.5..160, 600 not).
  CheckRange(*this, Sim(),
             {0.1, 0.5, 3, 39.9, 40.1, 64.9, 65.1, 100, 150, 307.9, 308.1, 584.9, 585.1, 600, 839.9,
              840.1, 1000, 1199.9, 1200});
}

TEST_F(PointSimImpedance, TwoMultiplierModelSwitchesOscillatorAndMultipliers) {
  Start("uhf", {"--bridge", "ideal"});
  Sim().SetDut("z=20,-80");
  average = 16;
  AverageADC(average);
  const struct {
    double mhz;
    const char* osc;
    const char* mults;
  } cases[] = {{39.9, "2", "14,13"},  {60.5, "1", "13,12"}, {100, "2", "14,13"},
               {308.1, "1", "14,12"}, {500, "2", "14,13"},  {600, "1", "10,9"},
               {1010, "1", "14,13"},  {1200, "2", "14,13"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mhz);
    freq = c.mhz;
    ReadPoint_A(0);
    EXPECT_EQ(Sim().Status("osc"), c.osc);
    EXPECT_EQ(Sim().Status("mults"), c.mults);
    EXPECT_NEAR(std::stod(Sim().Status("freq")), c.mhz, 1e-5);
    EXPECT_LT(std::abs(std::complex<double>(Rsm, Xsm) - std::complex<double>(20, -80)), 0.4);
  }
}

TEST_F(PointSimImpedance, SingleDdsModelAcrossItsRange) {
  Start("7306", {"--bridge", "ideal"});
  CheckRange(*this, Sim(), {0.1, 0.15, 0.3, 1, 10, 50, 100, 125, 150, 179.9, 180});
}

// The point derives reflection coefficient, SWR and return loss from the
// values the correction leaves (point_Rs, point_Xs), or, without a
// correction, from those the last one left: never from the raw reading.
TEST_F(PointSimImpedance, ReflectionQuantitiesAreThoseOfTheCorrectedValues) {
  Start("uhf", {"--bridge", "ideal", "--dut", "r=25"});
  DDSAmplitude(10);
  const struct {
    double r;
    double rho, swr, rl;
  } cases[] = {{150, 0.5, 3, -6.0206}, {25, 1.0 / 3, 2, -9.5424}, {2, 48.0 / 52, 25, -0.69524}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.r);
    point_Rs = c.r;  // as a correction left them
    point_Xs = 0;
    rho = swr = return_loss = -1;
    freq = 14;
    Send_Freq(2);  // measured, not corrected
    ASSERT_EQ(vna_status, 0);
    EXPECT_NEAR(Rsm, 25, 0.1);  // the raw reading is the device's
    EXPECT_NEAR(rho, c.rho, 1e-9);
    EXPECT_NEAR(swr, c.swr, 1e-6);
    EXPECT_NEAR(return_loss, c.rl, 1e-4);
    EXPECT_NEAR(rho_mag, c.rho, 1e-9);
  }
}

// Replies that cross the line at its speed, with gaps the reader waits out,
// at both speeds of the link; a reply cut short still ends in "no data".
TEST_F(PointSimImpedance, PacedLineAtBothSpeeds) {
  Start("uhf", {"--bridge", "ideal", "--pace", "--dut", "z=30,40"});
  average = 16;
  AverageADC(average);
  const std::complex<double> want(30, 40);
  for (int baud : {57600, 115000}) {
    SCOPED_TRACE(baud);
    if (baud == 115000) {
      highbaud = 1;
      CheckComm();
      ASSERT_EQ(comm_ok, 1);
      ASSERT_EQ(Sim().Status("baud"), "115000");
    }
    for (double f : {1.0, 100.0, 600.0}) {
      freq = f;
      ReadPoint_A(0);
      ASSERT_EQ(vna_status, 0) << f;
      EXPECT_EQ(port_status, 1);
      EXPECT_LT(std::abs(std::complex<double>(Rsm, Xsm) - want) / std::abs(want), 0.005) << f;
    }
    hw_reset_prompt = 0;
    Sim().Fault("short 1 40");
    freq = 14;
    Send_Freq(0);
    EXPECT_EQ(vna_status, kStatusNoData);
  }
  highbaud = 0;
}

}  // namespace
}  // namespace vna
