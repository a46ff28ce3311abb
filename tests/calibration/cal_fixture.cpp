#include "calibration/cal_fixture.h"

#include <algorithm>

#include "calibration/cal_file.h"
#include "platform/ui.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna::test {

void ClearCalibration() {
  std::fill(CalDataA, CalDataA + kCalTableSize, CalPointA{});
  std::fill(CalDataB, CalDataB + kCalTableSize, CalPointB{});
  cal_points = 0;
  MaxCalANdx = MaxCalBNdx = -1;
  Rstd = 0;
  PortA_cal = PortB_cal = cal_valid = cal_unsaved = 0;
  CalinProgress = 0;
  std_cal = indep_chan = 0;
  cal_prog_version = cal_date = cal_save_name = "";
  cal_temperature = 0;
  ExtensionFlag = 0;
  ext_phase_per_MHz = 0;
  MyVar3 = MyVar4 = 0;
}

void StartModel(const std::string& model, int instrument) {
  min_freq = 0.005;
  maximumfreq = 1200;
  MaxFreqUHF = 1200;
  SetDigits(4);
  InitVars();
  min_Zref = 1;
  format = 25;
  model_uhf = model == "uhf" ? 1 : 0;
  model7306 = 1 - model_uhf;
  vna::model = model_uhf != 0 ? "Zelmar" : "7306";
  SetProgramVersion();
  InitFreqPlan();
  maximumfreq = model_uhf != 0 ? 1200 : 180;
  vna_present = instrument;
  api_busy = DIAGMODE = 0;
  mux_chan = multichan_scan = 0;
  ClearCalibration();
  testhook::ClearLogs();
}

void FillCalibration(int n, bool port_b) {
  cal_points = n;
  MaxCalANdx = n - 1;
  for (int i = 0; i < n; ++i) {
    CalPointA& a = CalDataA[i];
    a.freq = 1 + i;
    a.shortR = 0.125 + i;
    a.shortX = -2.5 - 0.25 * i;
    a.openR = 1000.5 + 10 * i;
    a.openX = -300.75 + i;
    a.stdR = 49.5 + 0.0625 * i;
    a.stdX = 1.25 - 0.5 * i;
    a.multstate = i < n / 2 ? 2461 : 1428;
    a.gainA = i < n / 2 ? 1 : 5.015;
    a.osc = i < n / 2 ? 2 : 1;
    if (!port_b) continue;
    CalPointB& b = CalDataB[i];
    b.freq = a.freq;
    b.ratio_low = 0.5 + 0.0078125 * i;
    b.ratio_high = 2 - 0.015625 * i;
    b.phase_low = (-10 + 2.5 * i) / 57.3;
    b.phase_high = (20 - 1.5 * i) / 57.3;
    b.multstate = a.multstate;
    b.gainA = a.gainA;
    b.gainB = i % 2 == 0 ? 1 : 24.25;
    b.osc = a.osc;
  }
  if (port_b) MaxCalBNdx = n - 1;
  PortA_cal = cal_valid = 1;
  PortB_cal = port_b ? 1 : 0;
  Rstd = 50;
  std_cal = 0;
  cal_start_freq = 1;
  cal_end_freq = n;
  cal_delta_freq = 1;
  cal_temperature = 76.5;
  cal_comment = "bench cal";
  indep_chan = port_b ? 5 : 0;
  DDS_Amplitude = 87;
  PortA_Sens = 2;
  PortA_Gain = 1;
  const double gains[] = {0, 1, 4.875, 24.25, 117.5, 487.75};
  const double phases[] = {0, 0, 0.25, 2.5, 6.25, 6.75};
  for (int k = 1; k <= 5; ++k) {
    RngGain[k] = gains[k];
    Rng[k] = phases[k] / 57.3;
  }
}

CalSnapshot CalSnapshot::Take() {
  CalSnapshot s;
  s.a.assign(CalDataA, CalDataA + kCalTableSize);
  s.b.assign(CalDataB, CalDataB + kCalTableSize);
  s.points = cal_points;
  s.max_a = MaxCalANdx;
  s.max_b = MaxCalBNdx;
  s.port_a = PortA_cal;
  s.port_b = PortB_cal;
  s.valid = cal_valid;
  s.std = std_cal;
  s.indep = indep_chan;
  s.rstd = Rstd;
  s.temperature = cal_temperature;
  s.start = cal_start_freq;
  s.end = cal_end_freq;
  s.delta = cal_delta_freq;
  s.amplitude = DDS_Amplitude;
  s.sens = PortA_Sens;
  s.gain = PortA_Gain;
  s.file_name = cal_file_name;
  s.folder = cal_folder;
  s.path = cal_file_path;
  s.comment = cal_comment;
  s.date = cal_date;
  s.version = cal_prog_version;
  std::copy(RngGain, RngGain + 6, s.rng_gain);
  std::copy(Rng, Rng + 6, s.rng);
  s.plan_bp.assign(freqplan_bp, freqplan_bp + kPlanSize);
  s.plan_code.assign(freqplan_code, freqplan_code + kPlanSize);
  s.lookup.assign(freq_mult_table, freq_mult_table + kFreqTableSize);
  s.gain5x = GainAfreq5x;
  s.gain2 = GainAfreq2;
  s.bands = osc_band_count;
  s.band_lo.assign(osc_band_lo, osc_band_lo + kOscBandSize);
  s.band_hi.assign(osc_band_hi, osc_band_hi + kOscBandSize);
  s.scan_start = start_freq;
  s.scan_end = end_freq;
  s.scan_delta = delta_freq;
  return s;
}

namespace {

bool SameA(const CalPointA& x, const CalPointA& y) {
  return x.freq == y.freq && x.shortR == y.shortR && x.shortX == y.shortX && x.openR == y.openR &&
         x.openX == y.openX && x.stdR == y.stdR && x.stdX == y.stdX && x.multstate == y.multstate &&
         x.gainA == y.gainA && x.osc == y.osc;
}
bool SameB(const CalPointB& x, const CalPointB& y) {
  return x.freq == y.freq && x.ratio_low == y.ratio_low && x.ratio_high == y.ratio_high &&
         x.phase_low == y.phase_low && x.phase_high == y.phase_high && x.multstate == y.multstate &&
         x.gainA == y.gainA && x.gainB == y.gainB && x.osc == y.osc;
}

}  // namespace

::testing::AssertionResult SameCalibration(const CalSnapshot& w, const CalSnapshot& g) {
  for (size_t i = 0; i < w.a.size(); ++i) {
    if (!SameA(w.a[i], g.a[i])) return ::testing::AssertionFailure() << "CalDataA[" << i << "]";
    if (!SameB(w.b[i], g.b[i])) return ::testing::AssertionFailure() << "CalDataB[" << i << "]";
  }
#define SAME(field) \
  if (!(w.field == g.field)) return ::testing::AssertionFailure() << #field " changed"
  SAME(points);
  SAME(max_a);
  SAME(max_b);
  SAME(port_a);
  SAME(port_b);
  SAME(valid);
  SAME(std);
  SAME(indep);
  SAME(rstd);
  SAME(temperature);
  SAME(start);
  SAME(end);
  SAME(delta);
  SAME(amplitude);
  SAME(sens);
  SAME(gain);
  SAME(file_name);
  SAME(folder);
  SAME(path);
  SAME(comment);
  SAME(date);
  SAME(version);
  SAME(plan_bp);
  SAME(plan_code);
  SAME(lookup);
  SAME(gain5x);
  SAME(gain2);
  SAME(bands);
  SAME(band_lo);
  SAME(band_hi);
  SAME(scan_start);
  SAME(scan_end);
  SAME(scan_delta);
#undef SAME
  for (int k = 0; k < 6; ++k) {
    if (w.rng_gain[k] != g.rng_gain[k] || w.rng[k] != g.rng[k])
      return ::testing::AssertionFailure() << "gain range " << k << " changed";
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::string> Boxes() {
  std::vector<std::string> out;
  for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
  return out;
}

void CalFileTest::TearDown() {
  CloseTextFile(data_file);
  mux_chan = 0;
}

std::string CalFileTest::Save(const std::string& name) {
  if (mux_chan < 2) testhook::QueueFileAnswer(dir / name);
  SaveCalFile();
  return dir.Read(name);
}

int CalFileTest::Load(const std::string& path, int show_summary) {
  file_name = path;
  GetPortACal(show_summary);
  return vna_status;
}

}  // namespace vna::test
