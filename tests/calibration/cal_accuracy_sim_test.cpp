// What a calibration is for: after one taken through the real prompts on the
// simulator's bridge whose errors vary with frequency (short, open and
// standard resistor on Port A, then the through on Port B at low and high
// sensitivity), every reading gives back the device's true value across the
// model's whole range. Port A: loads far from 50 ohms, resistive, reactive
// and a line, within 0.5 % of |Z| and 0.5 degree. Port B: attenuators to
// 70 dB, through a plain through and through a 50 ns line, within 0.05 dB
// and 0.1 degree. The true values come from each device's circuit.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "calibration/cal_port_b.h"
#include "calibration/cal_sim.h"
#include "scan/scan_sim.h"
#include "support/shell_fixture.h"
#include "support/watchdog.h"

namespace vna::test {
namespace {

using cplx = std::complex<double>;

constexpr double kDegPerRad = 180 / M_PI;
constexpr double kLight = 299792458.0;

// The worst error of one device over its readings, in each of two measures
// (Port A: |Z| in percent and phase in degrees; Port B: dB and degrees).
struct Worst {
  double mag = 0, deg = 0;
  double mag_at = 0, deg_at = 0;  // MHz
  int readings = 0;
  void Add(double mhz, double mag_error, double deg_error) {
    ++readings;
    if (!(std::abs(mag_error) <= std::abs(mag))) {
      mag = mag_error;
      mag_at = mhz;
    }
    if (!(std::abs(deg_error) <= std::abs(deg))) {
      deg = deg_error;
      deg_at = mhz;
    }
  }
};

// The impedance of a line of z0 ohms, velocity factor vf and len metres
// ending in zl ohms, with a loss of db100 dB per 100 m at 100 MHz growing
// with the root of frequency.
cplx LineZ(double mhz, double z0, double vf, double len, double zl, double db100) {
  const double hz = mhz * 1e6;
  const double alpha = db100 / 100 / (20 / std::log(10.0)) * std::sqrt(hz / 100e6);
  const double beta = 2 * M_PI * hz / (vf * kLight);
  const cplx th = std::tanh(cplx(alpha, beta) * len);
  return z0 * (zl + z0 * th) / (z0 + zl * th);
}

struct PortADevice {
  const char* device;
  std::function<cplx(double mhz)> z;
};

const PortADevice kPortADevices[] = {
    {"r=2", [](double) { return cplx(2); }},
    {"r=2000", [](double) { return cplx(2000); }},
    {"series:r=5,l=1u", [](double mhz) { return cplx(5, 2 * M_PI * mhz * 1e6 * 1e-6); }},
    {"series:r=20,c=100p",
     [](double mhz) { return cplx(20, -1 / (2 * M_PI * mhz * 1e6 * 100e-12)); }},
    {"line:z0=75,vf=0.66,len=1.5,end=r=10,db100=5",
     [](double mhz) { return LineZ(mhz, 75, 0.66, 1.5, 10, 5); }},
};

// A Port B device and the loss it reads against the through the calibration
// was taken with (a line's own delay is in both).
struct PortBDevice {
  const char* device;
  double db;
};

class CalAccuracySim : public CalSim {
 protected:
  bool Uhf() const { return model_ == "uhf"; }

  // The instrument with the varying bridge, averaging 16 as the user set it.
  void BeginVarying(const std::string& model) {
    model_ = model;
    Begin(model, {"--bridge", "varying"});
    average = 16;
    AverageADC(16);
    DDS_Amplitude = 100;
    ExtensionLength = 0;
    autorange = 1;
    fixed_avg = 1;
    calB_only = 0;
    delay_offset = 0;
    max_points = 30000;
  }

  // The Port B part of a calibration: the through `device` connected at
  // the prompt, the end confirmed.
  void AnswerThrough(const std::string& device) {
    AnswerPrompt("", true, [this, device] { Sim().SetDutB(device); });
    AnswerBox(kIdOk, " Port B Cal");
  }

  // Short, open, 50 ohm standard, then Port B with `through`, saved.
  void AnswerCalibration(const std::string& through) {
    AnswerPrompt("short");
    AnswerPrompt("open");
    AnswerPrompt("load");
    AnswerRstd("50");
    AnswerBox(kIdYes, " Cal B Option ");
    AnswerThrough(through);
    AnswerPrompt("");  // save
    AnswerDialog(" Enter a comment", {{1, "accuracy"}}, 2);
    testhook::QueueFileAnswer(dir / "accuracy.vcal");
    AnswerBox(kIdOk, " Calibration");
  }

  void ExpectCalibrated() {
    ExpectScriptFollowed();
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{" Cal B Option ", " Port B Cal", " Calibration"}));
    ASSERT_EQ(PortA_cal, 1);
    ASSERT_EQ(PortB_cal, 1);
    ASSERT_EQ(calB_error, 0);
  }

  // "PORT B CAL" from the Calibrate menu with `through` connected.
  void RecalibratePortB(const std::string& through) {
    testhook::ClearLogs();
    AnswerBox(kIdOk, " Cal Port B only ");
    AnswerThrough(through);
    calB_only = 1;
    {
      Watchdog dog(std::chrono::seconds(100), "a Port B calibration");
      CalB();
    }
    calB_only = 0;
    ExpectScriptFollowed();
    ASSERT_EQ(calB_error, 0);
    ASSERT_EQ(PortB_cal, 1);
  }

  void PortAMode() {
    PortB_on = transmission_mode = 0;
    plot_swrA = 0;
  }
  void PortBMode() {
    PortB_on = transmission_mode = 1;
    scan_format_B = 4080;
    plots21 = plot_phaseS21 = 1;
    plot_s11 = plot_swrB = plot_delay = plot_insloss = 0;
    std_comp = 1;
  }

  // The scans of one device: the low end up to 2 MHz and 2 MHz up to the
  // calibration's end, about 117 points each with steps that put the points
  // anywhere between the calibration's frequencies.
  std::vector<std::pair<double, double>> Ranges() const {
    const double top = std::min(cal_end_freq, maximumfreq);
    if (cal_start_freq >= 2) return {{cal_start_freq, top}};
    return {{cal_start_freq, 2}, {2, top}};
  }

  Worst ScanPortA(const PortADevice& d, const std::string& picture) {
    PortAMode();
    Sim().SetDut(d.device);
    Worst w;
    for (const auto& [lo, hi] : Ranges()) {
      ScanButton(lo, hi, (hi - lo) / 117.3);
      EXPECT_EQ(vna_status, 0);
      EXPECT_EQ(scana_ok, 1);
      for (int k = 0; k < scan_npoints; ++k) {
        const double f = scanA_freq[k];
        const cplx want = d.z(f);
        if (std::abs(want) < 2 || std::abs(want) > 2000) continue;
        const cplx got(scanA_Rs[k], scanA_Xs[k]);
        w.Add(f, 100 * (scanA_zmag[k] / std::abs(want) - 1), std::arg(got / want) * kDegPerRad);
      }
    }
    KeepPicture(main_win, picture);
    return w;
  }

  Worst ScanPortB(const PortBDevice& d, const std::string& picture, double steps = 117.3) {
    PortBMode();
    Sim().SetDutB(d.device);
    Worst w;
    for (const auto& [lo, hi] : Ranges()) {
      ScanButton(lo, hi, (hi - lo) / steps);
      EXPECT_EQ(vna_status, 0);
      EXPECT_EQ(scanb_ok, 1);
      for (int k = 0; k < scan_npoints; ++k) {
        w.Add(scanB_freq[k], s21_dB[k] + d.db,
              std::remainder(scanB_phase[k], 2 * M_PI) * kDegPerRad);
      }
    }
    KeepPicture(main_win, picture);
    return w;
  }

  // Each standard read again at calibration frequencies gives itself back:
  // the short 0 ohms, the standard resistor its value, the open an
  // impedance beyond measure.
  void ExpectStandardsGiveThemselvesBack() {
    PortAMode();
    relayA = relayB = 1;
    ProgRelay(3);
    struct Standard {
      const char* device;
      std::function<bool(cplx)> ok;
    };
    const Standard standards[] = {
        {"short", [](cplx z) { return std::abs(z) < 1e-3; }},
        {"load", [](cplx z) { return std::abs(z - 50.0) < 1e-3; }},
        {"open", [](cplx z) { return std::abs(z) > 1e6; }},
    };
    for (const Standard& s : standards) {
      Sim().SetDut(s.device);
      for (int i = 0; i < cal_points; i += 23) {
        freq = CalDataA[i].freq;
        ReadPoint_A(0);
        const cplx z(point_Rs, point_Xs);
        EXPECT_TRUE(s.ok(z)) << s.device << " at " << CalDataA[i].freq << " MHz reads " << z;
      }
    }
  }

  // One line of the table of worst errors, and the goal.
  void Report(const std::string& device, const Worst& w, bool port_a) {
    std::printf("[  worst   ] %-5s %-45s %s %8.4f at %9.4f MHz, %8.4f deg at %9.4f MHz (%d)\n",
                model_.c_str(), device.c_str(), port_a ? "|Z| %" : "dB   ", w.mag, w.mag_at, w.deg,
                w.deg_at, w.readings);
    EXPECT_GT(w.readings, 50) << device;
    EXPECT_LE(std::abs(w.mag), port_a ? 0.5 : 0.05) << device << " at " << w.mag_at << " MHz";
    EXPECT_LE(std::abs(w.deg), port_a ? 0.5 : 0.1) << device << " at " << w.deg_at << " MHz";
  }

  std::string model_;
};

class CalAccuracy : public CalAccuracySim, public ::testing::WithParamInterface<std::string> {};

TEST_P(CalAccuracy, StandardCalibrationReadsTrueValuesAcrossTheRange) {
  BeginVarying(GetParam());
  AnswerCalibration("thru");
  RunStandardCal();
  ExpectCalibrated();
  EXPECT_EQ(cal_end_freq, maximumfreq);
  ExpectStandardsGiveThemselvesBack();

  int n = 0;
  for (const PortADevice& d : kPortADevices) {
    SCOPED_TRACE(d.device);
    Report(d.device, ScanPortA(d, "cal_accuracy_a_" + GetParam() + std::to_string(n++)), true);
  }
  n = 0;
  for (const PortBDevice& d : {PortBDevice{"atten:db=20", 20}, PortBDevice{"atten:db=40", 40},
                               PortBDevice{"atten:db=60", 60}, PortBDevice{"atten:db=70", 70}}) {
    SCOPED_TRACE(d.device);
    Report(d.device, ScanPortB(d, "cal_accuracy_b_" + GetParam() + std::to_string(n++)), false);
  }

  // A 50 ns line as the through: its phase turns many times over the range.
  RecalibratePortB("delay:ns=50");
  n = 0;
  for (const PortBDevice& d :
       {PortBDevice{"delay:ns=50,db=20", 20}, PortBDevice{"delay:ns=50,db=70", 70}}) {
    SCOPED_TRACE(d.device);
    Report(d.device, ScanPortB(d, "cal_accuracy_line_" + GetParam() + std::to_string(n++)), false);
  }
}

INSTANTIATE_TEST_SUITE_P(BothModels, CalAccuracy, ::testing::Values("uhf", "7306"));

// A band calibration whose first record is the only one read on oscillator 2
// (59.5 MHz; oscillator 1 from 60 MHz) and whose last is the only one read
// on oscillator 2 again (about 99.5 MHz, past 99 MHz), with a 50 ns line as the
// through: its phase turns 18 degrees per MHz, so every point between those
// records and their neighbours shows whether the correction follows the
// line there as it does inside the table.
TEST_F(CalAccuracySim, LoneRecordsAtTheEndsOfATableAreInterpolatedAsTheRest) {
  BeginVarying("uhf");
  AnswerLimits("59.5", "97.4", "1", "100", "16");
  AnswerCalibration("delay:ns=50");
  RunBandCal();
  ExpectCalibrated();
  const int last = cal_points - 1;
  ASSERT_GT(last, 30);
  EXPECT_EQ(CalDataA[0].osc, 2);
  EXPECT_NE(CalDataA[0].multstate, CalDataA[1].multstate);
  EXPECT_EQ(CalDataA[last].osc, 2);
  EXPECT_NE(CalDataA[last].multstate, CalDataA[last - 1].multstate);

  Report("delay:ns=50,db=20",
         ScanPortB({"delay:ns=50,db=20", 20}, "cal_accuracy_lone_records", 400.3), false);
}

}  // namespace
}  // namespace vna::test
