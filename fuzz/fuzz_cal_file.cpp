// The calibration file, as start-up and Load Calibration File read it: the
// whole file is checked before anything of it is taken.
#include <cmath>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "instrument/state.h"

namespace {

using namespace vna;

// The calibration in force and everything a load takes beside it.
fuzz::Guard& Calibration() {
  static fuzz::Guard* guard = [] {
    auto* g = new fuzz::Guard;
    g->Add("CalDataA", CalDataA).Add("CalDataB", CalDataB).Add("cal_points", cal_points);
    g->Add("MaxCalANdx", MaxCalANdx).Add("MaxCalBNdx", MaxCalBNdx);
    g->Add("PortA_cal", PortA_cal).Add("PortB_cal", PortB_cal).Add("cal_valid", cal_valid);
    g->Add("cal_unsaved", cal_unsaved).Add("Rstd", Rstd).Add("std_cal", std_cal);
    g->Add("indep_chan", indep_chan).Add("RngGain", RngGain).Add("Rng", Rng);
    g->Add("cal_temperature", cal_temperature).Add("cal_comment", cal_comment);
    g->Add("cal_date", cal_date).Add("cal_prog_version", cal_prog_version);
    g->Add("cal_start_freq", cal_start_freq).Add("cal_end_freq", cal_end_freq);
    g->Add("cal_delta_freq", cal_delta_freq).Add("DDS_Amplitude", DDS_Amplitude);
    g->Add("PortA_Sens", PortA_Sens).Add("PortA_Gain", PortA_Gain);
    g->Add("freqplan_bp", freqplan_bp).Add("freqplan_code", freqplan_code);
    g->Add("GainAfreq5x", GainAfreq5x).Add("GainAfreq2", GainAfreq2);
    g->Add("osc_band_count", osc_band_count).Add("osc_band_lo", osc_band_lo);
    g->Add("osc_band_hi", osc_band_hi).Add("start_freq", start_freq);
    g->Add("end_freq", end_freq).Add("delta_freq", delta_freq);
    g->Add("cal_file_name", cal_file_name).Add("cal_folder", cal_folder);
    return g;
  }();
  return *guard;
}

// Fields of a table row, cut at blanks and tabs.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  size_t p = 0;
  while ((p = line.find_first_not_of(" \t", p)) != std::string::npos) {
    const size_t end = line.find_first_of(" \t", p);
    out.push_back(line.substr(p, end == std::string::npos ? end : end - p));
    p = end;
  }
  return out;
}

double FieldOn(const std::vector<std::string>& lines, size_t k, size_t field) {
  if (k < 1 || k > lines.size()) return 0;
  const auto f = Fields(lines[k - 1]);
  return field < f.size() ? fuzz::Number(f[field]).value_or(0) : 0;
}

// Line 7 the resistor, 17 the row count, 18 the header's parameter lines;
// then the model block (heading, plan entries, three values, oscillator
// bands), the amplitude, and the short circuit's heading and rows: index,
// frequency, R, X, ...
void ExpectTaken(const std::vector<std::string>& lines) {
  using fuzz::Expect;
  using fuzz::NumberOn;
  using fuzz::Same;
  const int n = static_cast<int>(std::nearbyint(NumberOn(lines, 17)));
  Expect(cal_points == n && MaxCalANdx == n - 1, "a taken calibration's row count");
  Expect(PortA_cal == 1 && cal_valid == 1, "a taken calibration in force");
  Expect(Same(Rstd, NumberOn(lines, 7)), "a taken calibration's resistor");
  const size_t model = 18 + static_cast<size_t>(std::nearbyint(NumberOn(lines, 18)));
  const auto plan = static_cast<size_t>(std::nearbyint(NumberOn(lines, model + 1)));
  const auto bands = static_cast<size_t>(std::nearbyint(NumberOn(lines, model + plan + 5)));
  const size_t rows = model + plan + bands + 8;
  for (const int i : {0, n - 1}) {
    const size_t k = rows + static_cast<size_t>(i);
    Expect(Same(CalDataA[i].freq, FieldOn(lines, k, 1)), "frequency of row " + std::to_string(i));
    Expect(Same(CalDataA[i].shortR, FieldOn(lines, k, 2)), "short R of row " + std::to_string(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Begin(&Calibration());
  file_name = fuzz::InputFile(data, size, "input.vcal");
  if (fuzz::WholeOrNothing(Calibration(), "calibration file", [] { GetPortACal(0); })) {
    ExpectTaken(fuzz::Lines(data, size));
  }
  return 0;
}
