#include "files/scan_file_b.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/line_reader.h"
#include "files/scan_file_a.h"
#include "files/scan_file_common.h"
#include "files/settings.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/impedance.h"
#include "instrument/state.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "shell/menus.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

using scanfile::Box;
using scanfile::Line;

constexpr char kCR[] = "\r";
constexpr int kCurrentFormat = 4080;  // files from this format on hold the frequencies
constexpr double kDeg = 57.3;         // degrees per radian in the file

std::string AutomaticName(int mode) {
  return scanfile::AutomaticName("ZiviRURGraphB", mode, ".scnb");
}

// The companion's name: the scan file's name without its last five
// characters (".scnb"), followed by "_B.csv".
std::string CompanionName(const std::string& name) {
  const size_t stem = name.size() > 5 ? name.size() - 5 : 0;
  return name.substr(0, stem) + "_B.csv";
}

// ---- Writing ----

void WriteHeader(TextFile& f, int n) {
  WriteText(f, scan_stamp + "    prog_ver= " + prog_ver + prog_subver);
  WriteText(f, NumStr(scan_format_B) + (plot_at_zero != 0 ? "     plot_at_zero" : " "));
  Line(f, n);
  const ScanLimits& l = scanB_limits;  // the stored scan's own
  for (double v : {l.start, l.end, l.step, graph_start, graph_end, swr_scale, zmag_scale,
                   phase_scale, s21gain_scale, s11gain_scale, rtloss_scale, delay_scale, Q_scale,
                   spare_scale_1, spare_scale_2, ruler_1}) {
    Line(f, v);
  }
  Line(f, ruler1_on);
  Line(f, ruler_2);
  Line(f, ruler2_on);
  Line(f, PortB_Gain);
  Line(f, PortB_Sens);
  Line(f, grid_units_per_div);
  Line(f, scn_spare_1);
  Line(f, scn_spare_2);
  Line(f, freq_per_div);
  WriteText(f, PortB_title);
}

// Records 0 .. n - 1 hold the measured points. The layout has one record
// more (index n): its frequency with zeros, so no reading stands there, be it
// the repeated rest of a halted scan or a value left by an earlier one.
void WritePoints(TextFile& f, int n) {
  for (int i = 0; i <= n; ++i) {
    const bool point = i < n;
    Line(f, scanB_freq[i]);
    Line(f, point ? s21_dB[i] : 0);
    Line(f, point ? scanB_phase[i] * kDeg : 0);
    Line(f, point ? scanB_s11rl[i] : 0);
    Line(f, point ? scanB_s11phase[i] * kDeg : 0);
  }
}

double FiniteOr0(double x) {
  return std::isfinite(x) ? x : 0;
}

// Frequency, S21 in dB, its phase in degrees and the group delay in
// microseconds of every point, and the row after the last one as its record
// in the scan file.
void WriteCompanion(TextFile& f, int n) {
  WriteText(f, "Created: " + DateText() + "  " + TimeText());
  WriteText(f, "VNA version " + prog_ver);
  WriteText(f, "\"" + PortB_title + "\"");
  WriteText(f, "Z0," + NumStr(Zref));
  WriteText(f, "Freq(MHz),  S21mag(dB), S21phase(deg), Delay(usec)");
  for (int i = 0; i <= n; ++i) {
    const bool point = i < n;
    WriteText(f, FormatUsing("###.#######", {FiniteOr0(scanB_freq[i])}) + ", " +
                     NumStr(point ? FiniteOr0(s21_dB[i]) : 0) + ", " +
                     NumStr(point ? FiniteOr0(scanB_phase[i] * 57.29588) : 0) + ", " +
                     NumStr(point ? FiniteOr0(delay_B[i] * 0.001) : 0));
  }
}

void WriteTrailer(TextFile& f) {
  Line(f, scanhdr_zref);
  Line(f, scanhdr_z0imag);
  Line(f, scn_spare_3);
  Line(f, VF);
  Line(f, cable_length);
  Line(f, scanhdr_avg);
  WriteText(f, model);
  Line(f, scanhdr_smooth);
  Line(f, scanhdr_extra);
  Line(f, s21phase_scale);
}

// ---- Reading ----

// A Port B scan file as read, before any of it reaches the program's state.
struct ScanFileB {
  std::string stamp;
  int plot_at_zero = 0;
  int format = 0;
  int points = 0;
  double start = 0, end = 0, step = 0;
  double header[19] = {};  // lines 7 .. 25 as values
  int spare1 = 0, spare2 = 0;
  double freq_per_div = 0;
  std::string title;
  std::vector<double> freq, s21, phase, s11rl, s11phase;
  double trailer[10] = {};
  bool has_t10 = false;
};

// Header lines 7 .. 25 in file order.
enum HeaderLine {
  kGraphStart,
  kGraphEnd,
  kSwrScale,
  kZmagScale,
  kPhaseScale,
  kS21Scale,
  kS11Scale,
  kRtlossScale,
  kDelayScale,
  kQScale,
  kSpare1Scale,
  kSpare2Scale,
  kRuler1,
  kRuler1On,
  kRuler2,
  kRuler2On,
  kGain,
  kSens,
  kGrid,
};

void Refuse(const std::string& why) {
  Box("The file named: " + QuotedPath(file_name) + kCR + why + kCR +
          "The scan on the graph was kept.",
      "Port B - Invalid Scan File");
}

void ValidLimits(ScanFileB& s) {
  if (s.start < min_freq) s.start = 1;
  if (s.end > maximumfreq + 2) {
    s.start = 1;
    s.end = s.start + 1;
  }
  if (s.step < 1e-7) {
    s.start = 1;
    s.end = 2;
    s.step = 0.1;
  }
  if (s.start > s.end) {
    s.start = 1;
    s.end = 2;
    s.step = 0.02;
  }
}

// Reads data_file into s; 0, or the status of a refusal after its message.
int ReadScanFile(ScanFileB& s) {
  scanfile::Reader in;
  s.stamp = scanfile::StampOf(in.Next());
  s.plot_at_zero = in.Next().find("plot") != std::string::npos ? 1 : 0;
  s.format = LineValueInt();
  if (in.Binary()) {
    Refuse("is not a Port B scan file: it holds binary data.");
    return kStatusScanFileFormat;
  }
  const bool old_format = s.format < kCurrentFormat;
  if (s.format < scan_format_B) {
    Box(std::string("This file for Port B is not in the latest format.") + kCR +
            "It may not have the latest features.",
        "Port B - Warning: Invalid File Format");
  }
  s.points = in.Int();
  if (s.points < 1 || s.points > max_points) {
    Refuse("holds" + NumStr(s.points) + " points; a scan holds 1 to" + NumStr(max_points) +
           " points.");
    return kStatusScanFileCount;
  }
  s.start = std::fabs(in.Value());
  s.end = std::fabs(in.Value());
  s.step = std::fabs(in.Value());
  ValidLimits(s);
  for (double& v : s.header) v = in.Value();
  s.spare1 = in.Int();
  s.spare2 = in.Int();
  s.freq_per_div = in.Value();
  s.title = in.Next();
  const int n = s.points + 1;
  for (auto* v : {&s.freq, &s.s21, &s.phase, &s.s11rl, &s.s11phase}) v->resize(n);
  // A frequency no point can have refuses the file. The record after the
  // measured points holds whatever frequency the list had there, so only
  // the measured ones must rise.
  std::string damage;
  for (int i = 0; i < n; ++i) {
    if (old_format) {
      s.freq[i] = s.start + i * s.step;
    } else {
      s.freq[i] = in.Value();
      const bool counted = damage.empty() && !in.Ended() && in.NoNumberLine() == 0;
      if (counted && !scanfile::UsableFreq(s.freq[i])) {
        damage = "holds a frequency no instrument measures on line" + NumStr(in.Lines()) + ".";
      } else if (counted && i > 0 && i < s.points && s.freq[i] < s.freq[i - 1]) {
        damage = "holds frequencies that run backwards: a point below the one before it on line" +
                 NumStr(in.Lines()) + ".";
      }
    }
    s.s21[i] = in.Value();
    s.phase[i] = in.Value() / kDeg;
    s.s11rl[i] = in.Value();
    s.s11phase[i] = in.Value() / kDeg;
  }
  for (int t = 0; t < 9; ++t) {
    if (t == 6) {
      in.Next();  // the model text is not used
    } else {
      s.trailer[t] = in.Value();
    }
  }
  bool short_file = in.Ended();
  // The S21 phase scale came later than the old formats: what they hold
  // there is not checked.
  s.trailer[9] = old_format ? LineValue(in.Next()) : in.Value();
  s.has_t10 = !in.Ended();
  if (!old_format) {
    // The file ends after the S21 phase scale: more lines mean more points
    // than the count announces.
    short_file = short_file || !s.has_t10;
    bool extra = false;
    while (!FileEof(data_file) && !extra) {
      extra = in.Next().find_first_not_of(" \t") != std::string::npos;
    }
    if (in.Binary()) {
      Refuse("is not a Port B scan file: it holds binary data.");
      return kStatusScanFileFormat;
    }
    if (extra) {
      Refuse("holds more lines than its" + NumStr(s.points) + " points and trailer.");
      return kStatusScanFileEnd;
    }
  }
  if (in.Binary()) {
    Refuse("is not a Port B scan file: it holds binary data.");
    return kStatusScanFileFormat;
  }
  if (short_file) {
    Refuse("ends early: it does not hold the" + NumStr(s.points) + " points it announces.");
    return kStatusScanFileEnd;
  }
  if (in.NoNumberLine() != 0) {
    Refuse(scanfile::NoNumberText(in.NoNumberLine()));
    return kStatusScanFileValue;
  }
  if (!damage.empty()) {
    Refuse(damage);
    return kStatusScanFileValue;
  }
  const int gain = Rnd(s.header[kGain]), sens = Rnd(s.header[kSens]);
  if (gain < 1 || gain > 5 || sens < 1 || sens > 2) {
    Refuse("holds the Port B gain step" + NumStr(gain) + " and sensitivity" + NumStr(sens) +
           "; an instrument has steps 1 to 5 and sensitivities 1 and 2.");
    return kStatusScanFileGain;
  }
  return 0;
}

// Puts a file that was read whole in place of the stored scan.
void TakeScanFile(const ScanFileB& s) {
  scan_stamp = s.stamp;
  plot_at_zero = s.plot_at_zero;
  bandscan_mode = 0;
  scan_extra_value = 0;
  Numscanpts = s.points;
  scanB_npoints = s.points;
  if (std::fabs(end_freq - s.end) + std::fabs(start_freq - s.start) > 1e-7) {
    // The Port A scan no longer belongs to these limits: it is cleared and
    // no longer counts as a scan (the exit save must not write its zeros).
    for (double* a : {scanA_swr, scanA_zmag, scanA_phase}) std::fill(a, a + 30011, 0.0);
    scana_ok = 0;
    scanA_npoints = 0;
  }
  start_freq = s.start;
  end_freq = s.end;
  delta_freq = s.step;
  scanB_limits = {s.start, s.end, s.step};
  const double* h = s.header;
  graph_start = h[kGraphStart];
  graph_end = h[kGraphEnd];
  swr_scale = h[kSwrScale];
  zmag_scale = h[kZmagScale];
  phase_scale = h[kPhaseScale];
  s21gain_scale = h[kS21Scale];
  s11gain_scale = h[kS11Scale];
  rtloss_scale = h[kRtlossScale];
  delay_scale = h[kDelayScale];
  Q_scale = h[kQScale];
  spare_scale_1 = h[kSpare1Scale];
  spare_scale_2 = h[kSpare2Scale];
  ruler_1 = h[kRuler1];
  ruler1_on = Rnd(h[kRuler1On]);
  ruler_2 = h[kRuler2];
  ruler2_on = Rnd(h[kRuler2On]);
  PortB_Gain = Rnd(h[kGain]);
  PortB_Sens = Rnd(h[kSens]);
  grid_units_per_div = h[kGrid];
  scn_spare_1 = s.spare1;
  scn_spare_2 = s.spare2;
  freq_per_div = s.freq_per_div;
  PortB_title = s.title;
  std::copy(s.freq.begin(), s.freq.end(), scanB_freq);
  std::copy(s.s21.begin(), s.s21.end(), s21_dB);
  std::copy(s.phase.begin(), s.phase.end(), scanB_phase);
  std::copy(s.s11rl.begin(), s.s11rl.end(), scanB_s11rl);
  std::copy(s.s11phase.begin(), s.s11phase.end(), scanB_s11phase);
  for (size_t i = 0; i < s.s11rl.size(); ++i) scanB_swr[i] = SwrOfReturnLoss(s.s11rl[i]);

  const double* t = s.trailer;
  Zref = t[0] < 1 || t[0] > 10000 ? 50 : t[0];
  Z0real = Zref;
  Z0imag = std::fabs(t[1]) > 10 ? 0 : t[1];
  scn_spare_3 = Rnd(t[2]);
  VF = t[3] < 0.5 ? 0.66 : t[3] > 1 ? 1 : t[3];
  cable_length = t[4];
  average = Rnd(t[5]);
  average_saved = average;
  smoothing = Rnd(t[7]);
  smoothing_on = smoothing > 0 ? 1 : 0;
  scan_extra_value = t[8];
  if (s.has_t10) {
    const double scale = std::fabs(t[9]);
    s21phase_scale = scale < 1 || scale > 200 ? 200 : scale;
  }
  scanb_ok = 1;
}

// The loaded scan drawn as if it were being measured, over the graph as it
// stands.
void ReplayLoadedScan() {
  const int kept_cal = cal_valid;
  transmission_mode = 1;
  FreqGrid();
  rescan_on = 0;
  DrawGraph();
  live_data = 0;
  Scan_B();
  cal_valid = kept_cal;
  live_data = 1;
  SetScanCaptions();
}

}  // namespace

void SaveScanB() {
  // Only measured points are saved: the user's save is told when there are
  // none, the automatic and exit saves pass over it.
  if (!StoredScanSavable(true, save_mode == 0) || !scanfile::LimitsSavable(scanB_limits)) {
    save_mode = 0;
    return;
  }
  const int n = std::clamp(scanB_npoints, 0, kScanArraySize - 1);
  if (save_mode == 0) {
    scanfile::AskForName(" Save Port B Scan File", true, " B Scan Files(*.scnb)|*.scnb||", "scnb");
  } else {
    file_name = AutomaticName(save_mode);
  }
  save_mode = 0;
  if (OpenTextFile(data_file, file_name, "W") != 0) {
    if (file_name.size() > 2) Box(ReadOnlyFileText(file_name), "");
    return;
  }
  // A companion that cannot be created is passed over silently.
  const std::string companion = CompanionName(file_name);
  const bool companion_open = companion != file_name && OpenTextFile(file_out, companion, "W") == 0;
  SetDigits(8);
  WriteHeader(data_file, n);
  WritePoints(data_file, n);
  SetDigits(6);
  if (companion_open) {
    WriteCompanion(file_out, n);
    CloseTextFile(file_out);
  }
  WriteTrailer(data_file);
  SetDigits(3);
  scanfile::CheckWritten(file_name, CloseTextFile(data_file));
}

void LoadScanB() {
  // The arrays belong to the scan that runs (a key its events let through).
  if (ScanBInProgress()) {
    save_mode = 0;
    return;
  }
  std::string comment;
  if (save_mode == 0) {
    scanfile::AskForName(" Load Port B Scan File", false, "Port B Scan Files(*.scnb)|*.scnb||",
                         "scnb");
    if (!scanfile::IsChoice(file_name)) return;
    comment = scanfile::CommentForChoice();
  } else if (scan_load_mode == 3) {
    scan_load_mode = 0;  // the command-line file serves the start-up load only
  } else {
    file_name = AutomaticName(save_mode);
  }
  save_mode = 0;
  if (const int open = scanfile::OpenForLoad("Port B", 5); open != 0) {
    if (open > 0) vna_status = open;
    return;
  }
  SetDigits(8);
  ScanFileB s;
  const int status = ReadScanFile(s);
  CloseTextFile(data_file);
  SetDigits(3);
  if (status != 0) {
    vna_status = status;
    return;
  }
  if (!comment.empty()) scan_comment = comment;
  TakeScanFile(s);
  if (PortB_on != 0) ReplayLoadedScan();
}

}  // namespace vna
