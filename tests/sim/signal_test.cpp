// The samples mean what the program makes of them: an independent 16-point
// fit of each reply gives back the device under test, through the ideal
// bridge directly and through the real bridge after a short/open/load
// calibration; Port B carries the transmission with its gain steps.
#include <gtest/gtest.h>

#include <filesystem>

#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "session.h"

namespace vna::test {
namespace {

using cplx = std::complex<double>;
constexpr double kLight = 299792458.0;

cplx GammaOf(cplx z) {
  return (z - 50.0) / (z + 50.0);
}

void ExpectNear(cplx got, cplx want, double tolerance, const std::string& what) {
  EXPECT_LT(std::abs(got - want) / std::abs(want), tolerance)
      << what << ": got " << got << ", want " << want;
}

// The frequency a single-DDS word really programs.
double VhfMhz(double mhz) {
  return std::llround(mhz / 400 * 4294967296.0) * 400 / 4294967296.0;
}

std::string Amplitude(int code) {
  char text[8];
  std::snprintf(text, sizeof text, "M%04X", code);
  return text;
}

TEST(SimSignal, IdealBridgeGivesBackTheDeviceImpedance) {
  struct Device {
    const char* device;
    cplx z;
  };
  const std::vector<Device> devices = {
      {"r=10", 10}, {"r=50", 50}, {"r=500", 500}, {"z=50,50", {50, 50}}, {"z=20,-80", {20, -80}}};
  struct Model {
    const char* name;
    std::vector<double> mhz;
  };
  for (const Model& m : {Model{"uhf", {1, 100, 500, 1000}}, Model{"7306", {1, 30, 100, 170}}}) {
    SimSession s({"--model", m.name, "--bridge", "ideal"});
    s.Setup(1023, 200);
    for (double mhz : m.mhz) {
      s.Gains(s.Uhf() && mhz >= 548, 1);  // the program's high Port A gain above 548 MHz
      for (const Device& d : devices) {
        s.sim.SetDut(d.device);
        // A low impedance draws five times the reference: half drive keeps it on the ADC.
        s.port.Write(Amplitude(d.z == cplx(10) ? 512 : 1023));
        ExpectNear(RawImpedance(s.Measure(mhz)), d.z, 1e-3,
                   std::string(m.name) + " " + d.device + " at " + std::to_string(mhz));
      }
    }
  }
}

// The second DDS must run oscillator 1's offset above the first, to the
// words' resolution. Oscillator 2's offset instead is a protocol error, and
// the samples run off the period the converter expects: the impedance moves.
TEST(SimSignal, SecondDdsOffItsOffsetRunsTheSamplesOffTheirPeriod) {
  SimSession s({"--model", "uhf", "--bridge", "ideal", "--dut", "z=20,-80"});
  s.Setup(1023, 200);
  const cplx z(20, -80);
  const auto measure = [&](double offset) {
    return RawImpedance(
        ParseReply(s.port.Exchange(UhfCommand(100, 14, 13, 5, 2, false, offset), 72)));
  };
  ExpectNear(measure(s.version.offset1), z, 1e-3, "oscillator 1's offset");
  EXPECT_EQ(s.sim.Status("protocolerrors"), "0");
  ASSERT_GT(std::abs(s.version.offset2 - s.version.offset1), 1e-5);
  const cplx off = measure(s.version.offset2);
  EXPECT_EQ(s.sim.Status("protocolerrors"), "1");
  EXPECT_GT(std::abs(off - z) / std::abs(z), 0.005) << off;
}

TEST(SimSignal, CircuitModelsFollowFrequency) {
  struct Case {
    const char* model;
    const char* device;
    std::vector<double> mhz;
    std::function<cplx(double)> z;  // of the frequency in Hz
  };
  const double l1 = 1 / (std::pow(2 * M_PI * 10e6, 2) * 20e-15);
  const std::vector<Case> cases = {
      {"uhf",
       "series:r=20,l=10n,c=5p",
       {100, 500, 1000},
       [](double hz) {
         const double w = 2 * M_PI * hz;
         return cplx(20, w * 10e-9 - 1 / (w * 5e-12));
       }},
      {"7306",
       "parallel:r=200,l=1u,c=100p",
       {10, 15.9155, 20},
       [](double hz) {
         const double w = 2 * M_PI * hz;
         return 1.0 / cplx(1 / 200.0, w * 100e-12 - 1 / (w * 1e-6));
       }},
      {"7306",
       "crystal:fs=10M,r=25,c1=20f,c0=5p",
       {9.9998, 10, 10.0002},
       [l1](double hz) {
         const double w = 2 * M_PI * hz;
         const cplx zm(25, w * l1 - 1 / (w * 20e-15));
         return 1.0 / (1.0 / zm + cplx(0, w * 5e-12));
       }},
      {"uhf", "series:l=50n", {50, 150}, [](double hz) { return cplx(0, 2 * M_PI * hz * 50e-9); }},
  };
  for (const Case& c : cases) {
    SimSession s({"--model", c.model, "--bridge", "ideal", "--dut", c.device});
    s.Setup(1023, 200);
    for (double mhz : c.mhz) {
      const double exact = s.Uhf() ? mhz : VhfMhz(mhz);
      ExpectNear(RawImpedance(s.Measure(mhz)), c.z(exact * 1e6), 1e-3,
                 std::string(c.device) + " at " + std::to_string(mhz));
    }
  }
}

TEST(SimSignal, LineTurnsItsPhaseAtTheRateOfItsLength) {
  const double len = 3, vf = 0.66;
  for (const char* model : {"uhf", "7306"}) {
    SimSession s(
        {"--model", model, "--bridge", "ideal", "--dut", "line:z0=50,vf=0.66,len=3,end=r=100"});
    s.Setup(1023, 200);
    double first = 0, last = 0, previous = 0;
    double turned = 0;
    for (int k = 0; k <= 10; ++k) {
      const double mhz = s.Uhf() ? 100 + k : VhfMhz(100 + k);
      const cplx g = GammaOf(RawImpedance(s.Measure(mhz)));
      EXPECT_NEAR(std::abs(g), 1.0 / 3, 1e-3) << model << " " << mhz;
      const double phase = std::arg(g);
      if (k > 0) turned += std::remainder(phase - previous, 2 * M_PI);
      previous = phase;
      (k == 0 ? first : last) = mhz;
    }
    // Out and back: the reflection turns by 4 pi len / (vf c) per hertz.
    const double expected = -4 * M_PI * len / (vf * kLight) * (last - first) * 1e6;
    EXPECT_NEAR(turned / expected, 1.0, 2e-3) << model;
  }
}

// The three error terms of the bridge at mhz, from the raw reflections of
// short, open and load: m = e00 + t g / (1 - e11 g).
struct ErrorTerms {
  cplx e00, e11, t;
};

ErrorTerms TermsAt(SimSession& s, double mhz) {
  auto gamma_m = [&](const char* device) {
    s.sim.SetDut(device);
    return GammaOf(RawImpedance(s.Measure(mhz)));
  };
  ErrorTerms e;
  e.e00 = gamma_m("load");
  const cplx a = gamma_m("open") - e.e00, b = gamma_m("short") - e.e00;
  e.e11 = (a + b) / (a - b);
  e.t = a * (1.0 - e.e11);
  return e;
}

// Short, open and load through the real bridge fix its three error terms;
// the corrected reading of another device is then exact. The fixed bridge
// has the same terms everywhere; the varying one drifts from them smoothly.
TEST(SimSignal, RealBridgeIsRemovedByShortOpenLoadCalibration) {
  for (const char* bridge : {"real", "varying"}) {
    for (const char* model : {"uhf", "7306"}) {
      const std::string what = std::string(bridge) + " " + model;
      SimSession s({"--model", model, "--bridge", bridge});
      s.Setup(1023, 200);
      const bool uhf = s.Uhf();
      ErrorTerms low{};
      for (double mhz : {2.0, 60.0, 150.0, uhf ? 1150.0 : 179.0}) {
        // The fixed bridge's weak source takes the high Port A gain above
        // 548 MHz; the varying one's short would overload it.
        const bool varying = std::string(bridge) == "varying";
        s.Gains(uhf && mhz >= 548 && !varying, 1);
        const ErrorTerms e = TermsAt(s, mhz);
        if (mhz == 2.0) low = e;
        const double drift =
            std::abs(e.t - low.t) + std::abs(e.e00 - low.e00) + std::abs(e.e11 - low.e11);
        if (!varying) {
          EXPECT_LT(drift, 1e-3) << what << " at " << mhz;
        } else if (mhz > 100) {
          EXPECT_GT(drift, 0.05) << what << " at " << mhz;
        }
        for (cplx z : {cplx(75), cplx(20, -80), cplx(5, 30), cplx(2), cplx(2000)}) {
          char device[64];
          std::snprintf(device, sizeof device, "z=%g,%g", z.real(), z.imag());
          s.sim.SetDut(device);
          const cplx m = GammaOf(RawImpedance(s.Measure(mhz))) - e.e00;
          const cplx g = m / (e.t + e.e11 * m);
          ExpectNear(50.0 * (1.0 + g) / (1.0 - g), z, 2e-3, what + " " + device);
          EXPECT_GT(std::abs(RawImpedance(s.Measure(mhz)) - z) / std::abs(z), 0.02)
              << "the raw reading shows the bridge";
        }
      }
    }
  }
}

// The varying bridge's Port B: the through path is a lossy line of about
// 3 ns, the gain steps 4 and 5 are not those the fixed bridge has, and the
// single-DDS model's +12 dB sensitivity turns with frequency.
TEST(SimSignal, VaryingBridgeHasADelayedThroughAndGainStepsOfItsOwn) {
  SimSession s({"--model", "uhf", "--bridge", "varying"});
  s.Setup(1023, 200);
  double turned = 0, previous = 0;
  for (int k = 0; k <= 100; ++k) {
    const double phase = std::arg(RawTransmission(s.Measure(100 + 10 * k, true)));
    if (k > 0) turned += std::remainder(phase - previous, 2 * M_PI);
    previous = phase;
  }
  EXPECT_NEAR(turned / (-2 * M_PI * 1000e6), 3e-9, 0.01e-9);
  const double db1 = 20 * std::log10(std::abs(RawTransmission(s.Measure(1, true))));
  const double db1000 = 20 * std::log10(std::abs(RawTransmission(s.Measure(1000, true))));
  EXPECT_NEAR(db1 - db1000, 0.5, 0.02);

  // Each step against the step below through 30 dB (step 4) and 50 dB (step 5).
  auto step_ratio = [](SimSession& ss, int step) {
    ss.sim.SetDutB(step == 4 ? "atten:db=30" : "atten:db=50");
    ss.Gains(false, step - 1);
    const cplx low = RawTransmission(ss.Measure(1, true));
    ss.Gains(false, step);
    return RawTransmission(ss.Measure(1, true)) / low;
  };
  SimSession fixed({"--model", "uhf", "--bridge", "real"});
  fixed.Setup(1023, 200);
  for (int step : {4, 5}) {
    const cplx varying = step_ratio(s, step), nominal = step_ratio(fixed, step);
    EXPECT_GT(std::abs(std::abs(varying) / std::abs(nominal) - 1), 0.01) << step;
    EXPECT_GT(std::abs(std::arg(varying / nominal)) * 180 / M_PI, 0.5) << step;
  }

  SimSession vhf({"--model", "7306", "--bridge", "varying", "--dut-b", "atten:db=30"});
  vhf.Setup(1023, 200);
  auto sensitivity_deg = [&](double mhz) {
    vhf.Gains(false, 1, 1);
    const cplx low = RawTransmission(vhf.Measure(mhz, true));
    vhf.Gains(false, 1, 2);
    return std::arg(RawTransmission(vhf.Measure(mhz, true)) / low) * 180 / M_PI;
  };
  EXPECT_NEAR(sensitivity_deg(1), 0.4, 0.05);
  EXPECT_NEAR(sensitivity_deg(150), 0.85, 0.05);
}

TEST(SimSignal, PortBCarriesTheTransmission) {
  SimSession s({"--model", "uhf", "--bridge", "ideal", "--chan", "3=atten:db=20"});
  s.Setup(1023, 200);
  const cplx thru = RawTransmission(s.Measure(50, true));
  ExpectNear(thru, 1.0, 1e-3, "thru");
  s.sim.SetDutB("atten:db=20");
  ExpectNear(RawTransmission(s.Measure(50, true)), 0.1, 1e-3, "20 dB");
  // The multiplexer channel switched by "L" selects its own path.
  s.sim.SetDutB("thru");
  s.port.Exchange(Bytes({'L', 16, 4, 1}), 2);
  ExpectNear(RawTransmission(s.Measure(50, true)), 0.1, 1e-3, "channel 3");
  s.port.Exchange(Bytes({'L', 16, 1, 1}), 2);
  // A delay turns the phase back by 2 pi f tau.
  s.sim.SetDutB("delay:ns=5");
  double turned = 0, previous = 0;
  for (int k = 0; k <= 10; ++k) {
    const double phase = std::arg(RawTransmission(s.Measure(10 + 2 * k, true)));
    if (k > 0) turned += std::remainder(phase - previous, 2 * M_PI);
    previous = phase;
  }
  EXPECT_NEAR(turned / (-2 * M_PI * 5e-9 * 20e6), 1.0, 2e-3);
  // A circuit on Port B sits in series between the ports: a series LC passes
  // its resonance with only its resistance in the way.
  s.sim.SetDutB("series:r=10,l=1u,c=100p");
  ExpectNear(RawTransmission(s.Measure(1 / (2 * M_PI * std::sqrt(1e-6 * 100e-12)) / 1e6, true)),
             100.0 / 110, 1e-3, "series LC at resonance");
  // Relay B open: only leakage reaches Port B.
  s.sim.SetDutB("thru");
  s.port.Write(Bytes({'K', 41}));
  EXPECT_LT(std::abs(RawTransmission(s.Measure(50, true))), 1e-3);
}

TEST(SimSignal, GainStepsScaleOnlyTheirChannels) {
  auto magnitudes = [](const ReplyData& r) {
    return std::pair{FitSine(&r.words[0]).mag, FitSine(&r.words[16]).mag};
  };
  {
    SimSession s({"--model", "uhf"});
    s.Setup(1023, 200);
    // Each step against the next, through an attenuation that keeps both on the ADC.
    const double nominal[6] = {0, 1, 5, 24, 122, 513};
    const char* atten[5] = {"", "atten:db=20", "atten:db=30", "atten:db=40", "atten:db=54"};
    for (int k = 1; k <= 4; ++k) {
      s.sim.SetDutB(atten[k]);
      s.Gains(false, k);
      const auto low = magnitudes(s.Measure(30, true));
      s.Gains(false, k + 1);
      const auto high = magnitudes(s.Measure(30, true));
      EXPECT_NEAR(high.first / low.first / (nominal[k + 1] / nominal[k]), 1.0, 0.1) << k;
      EXPECT_NEAR(high.second / low.second, 1.0, 2e-3) << "reference at step " << k;
    }
    // Port A's high gain raises both channels alike: the impedance stays.
    s.sim.SetDut("r=75");
    s.port.Write(Amplitude(200));
    s.Gains(false, 1);
    const ReplyData low = s.Measure(30);
    s.Gains(true, 1);
    const ReplyData high = s.Measure(30);
    EXPECT_NEAR(magnitudes(high).second / magnitudes(low).second, 5.0, 0.25);
    ExpectNear(RawImpedance(high), RawImpedance(low), 2e-3, "Port A gain");
  }
  {
    SimSession s({"--model", "7306", "--dut-b", "atten:db=30"});
    s.Setup(1023, 200);
    s.Gains(false, 1, 1);
    const auto low = magnitudes(s.Measure(30, true));
    s.Gains(false, 1, 2);
    const auto high = magnitudes(s.Measure(30, true));
    EXPECT_NEAR(high.first / low.first, 4.0, 0.1) << "+12 dB sensitivity";
    s.Gains(false, 2, 1);
    EXPECT_NEAR(magnitudes(s.Measure(30, true)).first / low.first, 5.0, 0.5);
  }
}

TEST(SimSignal, AveragedWordsScaleBackToTheSameCounts) {
  SimSession s({"--model", "7306"});
  s.Setup(1023, 1);
  struct Step {
    int code, scale;
  };
  double dc16 = 0;
  for (const Step& st : {Step{1, 16}, Step{3, 4}, Step{8, 2}, Step{200, 1}, Step{9, 1}}) {
    s.port.Write(Bytes({'J', st.code}));
    const ReplyData r = s.Measure(5);
    const double dc = FitSine(&r.words[0]).dc * st.scale;
    if (dc16 == 0) dc16 = dc;
    EXPECT_NEAR(dc, dc16, 16) << "code " << st.code;
    for (int w : r.words) EXPECT_LE(w * st.scale, 65520);
  }
}

TEST(SimSignal, NoiseFollowsItsSeed) {
  auto replies = [](const char* seed) {
    SimSession s({"--noise", "2", "--seed", seed});
    s.Setup(1023, 4);
    std::vector<uint8_t> all;
    for (double mhz : {1.0, 10.0, 100.0}) {
      const auto b = s.MeasureBytes(mhz);
      all.insert(all.end(), b.begin(), b.end());
    }
    return all;
  };
  EXPECT_EQ(replies("7"), replies("7"));
  EXPECT_NE(replies("7"), replies("8"));
}

// The test's own reading of a Touchstone file: S parameter k (0 S11, 1 S21)
// interpolated linearly at hz.
cplx FileValue(const std::string& path, int k, double hz) {
  std::ifstream in(path);
  std::string line;
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '!' || line[0] == '#') continue;
    std::istringstream values(line);
    std::vector<double> row;
    double v;
    while (values >> v) row.push_back(v);
    rows.push_back(row);
  }
  for (size_t i = 1; i < rows.size(); ++i) {
    if (rows[i][0] >= hz) {
      const double t = (hz - rows[i - 1][0]) / (rows[i][0] - rows[i - 1][0]);
      const cplx a(rows[i - 1][1 + 2 * k], rows[i - 1][2 + 2 * k]);
      const cplx b(rows[i][1 + 2 * k], rows[i][2 + 2 * k]);
      return a + t * (b - a);
    }
  }
  return {};
}

TEST(SimSignal, TouchstoneDevicesFollowTheirFiles) {
  const std::string s1p = VNA_SHARED_DATA_DIR "/touchstone/ft240-43.s1p";
  const std::string s2p = VNA_SHARED_DATA_DIR "/touchstone/attenuator-0643_RI.s2p";
  if (!std::filesystem::exists(s1p) || !std::filesystem::exists(s2p))
    GTEST_SKIP() << "the measured Touchstone devices are not beside this checkout";
  SimSession s(
      {"--model", "uhf", "--bridge", "ideal", "--dut", "s1p:" + s1p, "--dut-b", "s2p:" + s2p});
  s.Setup(1023, 200);
  for (double mhz : {20.0, 100.0, 150.5}) {
    ExpectNear(GammaOf(RawImpedance(s.Measure(mhz))), FileValue(s1p, 0, mhz * 1e6), 2e-3,
               "s1p at " + std::to_string(mhz));
  }
  for (double mhz : {60.0, 333.3, 1000.0}) {
    ExpectNear(RawTransmission(s.Measure(mhz, true)), FileValue(s2p, 1, mhz * 1e6), 2e-3,
               "s2p at " + std::to_string(mhz));
  }
  s.sim.SetDut("s2p:" + s2p);
  EXPECT_LT(std::abs(GammaOf(RawImpedance(s.Measure(500)))), 0.02) << "the attenuator's S11";
}

}  // namespace
}  // namespace vna::test
