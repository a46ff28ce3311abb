#include "calibration/cal_end.h"

#include <algorithm>
#include <string>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/windows.h"

namespace vna {

namespace {

// The calibration in force when the present one started.
struct CalInForce {
  std::vector<CalPointA> a;
  std::vector<CalPointB> b;
  int points = 0, max_a = -1, max_b = -1, port_a = 0, port_b = 0, valid = 0, std = 0, indep = 0;
  int unsaved = 0;
  double rstd = 0, temperature = 0, start = 0, end = 0, delta = 0;
  std::string comment, date, version, path, name, folder;
  double rng_gain[6] = {}, rng[6] = {};
  int plan_bp[kPlanSize] = {}, plan_code[kPlanSize] = {};
  double gain5x = 0, gain2 = 0;
  int bands = 0;
  double band_lo[kOscBandSize] = {}, band_hi[kOscBandSize] = {};
};

CalInForce& Kept() {
  static CalInForce kept;
  return kept;
}

}  // namespace

void PutBackCalInForce() {
  const CalInForce& k = Kept();
  if (k.a.empty()) return;  // nothing was kept
  std::copy(k.a.begin(), k.a.end(), CalDataA);
  std::copy(k.b.begin(), k.b.end(), CalDataB);
  cal_points = k.points;
  MaxCalANdx = k.max_a;
  MaxCalBNdx = k.max_b;
  PortA_cal = k.port_a;
  PortB_cal = k.port_b;
  cal_valid = k.valid;
  cal_unsaved = k.unsaved;
  std_cal = k.std;
  indep_chan = k.indep;
  Rstd = k.rstd;
  cal_temperature = k.temperature;
  cal_start_freq = k.start;
  cal_end_freq = k.end;
  cal_delta_freq = k.delta;
  cal_comment = k.comment;
  cal_date = k.date;
  cal_prog_version = k.version;
  cal_file_path = k.path;
  cal_file_name = k.name;
  cal_folder = k.folder;
  std::copy(k.rng_gain, k.rng_gain + 6, RngGain);
  std::copy(k.rng, k.rng + 6, Rng);
  std::copy(k.plan_bp, k.plan_bp + kPlanSize, freqplan_bp);
  std::copy(k.plan_code, k.plan_code + kPlanSize, freqplan_code);
  if (model_uhf != 0) BuildFreqLookup();
  GainAfreq5x = k.gain5x;
  GainAfreq2 = k.gain2;
  osc_band_count = k.bands;
  std::copy(k.band_lo, k.band_lo + kOscBandSize, osc_band_lo);
  std::copy(k.band_hi, k.band_hi + kOscBandSize, osc_band_hi);
}

void SaveScanSettings() {
  sv_average = average;
  sv_smoothing = smoothing;
  sv_start = start_freq;
  sv_end = end_freq;
  sv_delta = delta_freq;
  svplotatzero = plot_at_zero;
  sv_plot_swrA = plot_swrA;
  sv_plot_rt = plot_rt;
}

void RestoreScanSettings() {
  average = sv_average;
  AverageADC(average);
  smoothing = sv_smoothing;
  start_freq = sv_start;
  end_freq = sv_end;
  delta_freq = sv_delta;
  plot_at_zero = svplotatzero;
  plot_swrA = sv_plot_swrA;
  plot_rt = sv_plot_rt;
}

void KeepCalInForce() {
  CalInForce& k = Kept();
  k.a.assign(CalDataA, CalDataA + kCalTableSize);
  k.b.assign(CalDataB, CalDataB + kCalTableSize);
  k.points = cal_points;
  k.max_a = MaxCalANdx;
  k.max_b = MaxCalBNdx;
  k.port_a = PortA_cal;
  k.port_b = PortB_cal;
  k.valid = cal_valid;
  k.unsaved = cal_unsaved;
  k.std = std_cal;
  k.indep = indep_chan;
  k.rstd = Rstd;
  k.temperature = cal_temperature;
  k.start = cal_start_freq;
  k.end = cal_end_freq;
  k.delta = cal_delta_freq;
  k.comment = cal_comment;
  k.date = cal_date;
  k.version = cal_prog_version;
  k.path = cal_file_path;
  k.name = cal_file_name;
  k.folder = cal_folder;
  std::copy(RngGain, RngGain + 6, k.rng_gain);
  std::copy(Rng, Rng + 6, k.rng);
  std::copy(freqplan_bp, freqplan_bp + kPlanSize, k.plan_bp);
  std::copy(freqplan_code, freqplan_code + kPlanSize, k.plan_code);
  k.gain5x = GainAfreq5x;
  k.gain2 = GainAfreq2;
  k.bands = osc_band_count;
  std::copy(osc_band_lo, osc_band_lo + kOscBandSize, k.band_lo);
  std::copy(osc_band_hi, osc_band_hi + kOscBandSize, k.band_hi);
}

void EndCal() {
  scan_running = 0;
  CalinProgress = 0;
  // The tables hold what this calibration measured so far: the calibration
  // in force goes back whole, also where its file can no longer be read,
  // and then its file is read as the summary shows it.
  PutBackCalInForce();
  int read_back = 0;
  if (cal_unsaved == 0) {  // a calibration no file holds is in force as it is
    file_name = cal_file_path;
    GetPortACal(1);
    read_back = vna_status;
  }
  average = average_saved;
  AverageADC(average);
  RestoreScanSettings();
  relayA = 0;
  relayB = 0;
  ProgRelay(0);
  FocusForm(main_win);
  focus_win = 1;
  MoveTo(main_win, graph_left - 20, graph_top - 50);
  PrintText(main_win, "    ");
  if (PortA_cal > 1) PortA_cal = 0;
  vna_status = read_back;
}

}  // namespace vna
