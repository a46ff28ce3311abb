#include "files/scan_file_a.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/line_reader.h"
#include "files/scan_file_common.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "files/tdr_file.h"
#include "files/write_errors.h"
#include "graph/clear_graph.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "scan/scan_a.h"
#include "scan/state.h"
#include "shell/menus.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

using scanfile::Box;
using scanfile::CheckWritten;
using scanfile::CommentForChoice;
using scanfile::IsChoice;
using scanfile::LimitsSavable;
using scanfile::Line;
using scanfile::StampOf;
using scanfile::UsableFreq;
using scanfile::UsableOhms;

constexpr char kCR[] = "\r";
constexpr const char* kEndOfData = "end of data  //92313";
constexpr const char* kFilter = "Scan Files(*.scn)|*.scn||";
constexpr int kTrailerLines = 17;
constexpr int kTrailerModelLine = 14;
constexpr int kPrintedTrailerLines = 11;

void AskForName(const std::string& title, bool save) {
  scanfile::AskForName(title, save, kFilter, "scn");
}

std::string AutomaticName(int mode) {
  return scanfile::AutomaticName("ZiviRURGraph", mode, ".scn");
}

// ---- Writing ----

void WriteHeader(TextFile& f, int n) {
  WriteText(f, scan_stamp + "    prog_ver= VNA" + model + "_" + prog_ver + prog_subver);
  WriteText(f, NumStr(scan_format_A) + (plot_at_zero != 0 ? "     plot_at_zero" : " "));
  Line(f, n);
  const ScanLimits& l = scanA_limits;  // the stored scan's own
  for (double v : {l.start, l.end, l.step, graph_start, graph_end, swr_scale, zmag_scale,
                   phase_scale, grid_units_per_div}) {
    Line(f, v);
  }
  Line(f, scn_spare_1);
  Line(f, scn_spare_2);
  Line(f, freq_per_div);
  Line(f, plot_swrA);
  WriteText(f, PortA_title);
}

void WriteTrailer(TextFile& f) {
  Line(f, scanhdr_zref);
  Line(f, scanhdr_z0imag);
  Line(f, scn_spare_3);
  Line(f, VF);
  Line(f, cable_length);
  Line(f, metric);
  Line(f, 0);
  Line(f, plot_rsA);
  Line(f, scanhdr_avg);
  Line(f, scn_const_a);
  Line(f, scn_const_b);
  Line(f, scn_const_c);
  Line(f, Rbridge);
  WriteText(f, model);
  Line(f, scanhdr_smooth);
  Line(f, scanhdr_extra);
  Line(f, 0);
}

// The spreadsheet rows: frequency, SWR, Rs, Xs, |Z|, phase in degrees, rho,
// return loss and reflected power in percent.
void WriteCompanion(TextFile& f, int n) {
  WriteText(f, "Created: " + DateText() + "  " + TimeText());
  WriteText(f, "VNA version " + prog_ver + prog_subver);
  WriteText(f, "\"" + PortA_title + "\"");
  WriteText(f, "Z0," + NumStr(Zref));
  WriteText(f, "Freq(MHz),SWR,Rs,Xs,Zmag,Phase(deg),Rho,ReturnLoss,%ReflectedPower");
  for (int i = 0; i < n; ++i) {
    const double s = scanA_swr[i];
    const double rho = (s - 1) / (s + 1);
    // A perfect match has no finite return loss: 200 dB stands for it.
    const double rl = rho > 1e-10 ? -20 * std::log10(rho) : 200;
    const double f_single = static_cast<float>(scanA_freq[i] + 0.0000005);
    std::string row = NumStr(f_single);
    for (double v : {s, scanA_Rs[i], scanA_Xs[i], scanA_zmag[i], scanA_phase[i] * 57.29588, rho, rl,
                     rho * rho * 100}) {
      row += ", " + NumStr(v);
    }
    WriteText(f, row);
  }
}

// ---- Reading ----

// A Port A scan file as read, before any of it reaches the program's state.
struct ScanFileA {
  std::string stamp;
  int plot_at_zero = 0;
  int format = 0;
  int points = 0;
  double start = 0, end = 0, step = 0;
  double header[6] = {};  // graph_start, graph_end, swr_scale, zmag_scale, phase_scale, grid
  int spare1 = 0, spare2 = 0;
  double freq_per_div = 0;
  std::string title;
  std::vector<double> freq, zmag, phase;
  std::vector<std::string> trailer;  // t1 .. t17
};

// The limits a loaded file may set. Limits the clamps put out of order
// (a start above the instrument's end) are replaced as reversed ones are.
void ValidLimits(ScanFileA& s) {
  if (s.start > s.end) {
    s.start = 1;
    s.end = 2;
    s.step = 0.02;
  }
  if (s.start < min_freq) s.start = min_freq;
  if (s.end > maximumfreq + 2) s.end = maximumfreq;
  if (s.step < 0.0000001) s.step = 0.0000001;
  if (s.start > s.end) {
    s.start = 1;
    s.end = 2;
    s.step = 0.02;
  }
}

// The refusal of a damaged file, after its message.
int Refuse(const std::string& why, int status) {
  Box("The file named: " + QuotedPath(file_name) + kCR + why + kCR +
          "The scan on the graph was kept.",
      "Port A - Invalid Scan File");
  return status;
}

// Reads data_file into s; 0, or the status of a refusal after its message.
int ReadScanFile(ScanFileA& s) {
  scanfile::Reader in;
  s.stamp = StampOf(in.Next());
  s.plot_at_zero = in.Next().find("plot") != std::string::npos ? 1 : 0;
  s.format = LineValueInt();
  if (s.format < 1 || s.format > scan_format_A) {
    return Refuse("is not a Port A scan file of a format this program reads (format" +
                      NumStr(s.format) + ").",
                  kStatusScanFileFormat);
  }
  const bool old_format = s.format < 130;
  if (s.format < scan_format_A) {
    Box(std::string("This file for Port A is not in the latest format.") + kCR +
            "It may not have the latest features.",
        "Port A - Warning: Invalid File Format");
  }
  s.points = in.Int();
  if (s.points < 1 || s.points > max_points) {
    return Refuse(
        "holds" + NumStr(s.points) + " points; a scan holds 1 to" + NumStr(max_points) + " points.",
        kStatusScanFileCount);
  }
  s.start = std::fabs(in.Value());
  s.end = std::fabs(in.Value());
  s.step = std::fabs(in.Value());
  ValidLimits(s);
  for (double& v : s.header) v = in.Value();
  s.spare1 = in.Int();
  s.spare2 = in.Int();
  s.freq_per_div = in.Value();
  in.Value();  // the SWR trace switch is not taken back
  s.title = in.Next();
  s.freq.resize(s.points);
  s.zmag.resize(s.points);
  s.phase.resize(s.points);
  // A value no point can hold refuses the file. One that ends among the
  // points is refused below, at its missing end-of-data line.
  std::string damage;
  auto damaged = [&](const std::string& why) {
    if (damage.empty() && !in.Ended() && in.NoNumberLine() == 0) {
      damage = why + " on line" + NumStr(in.Lines()) + ".";
    }
  };
  for (int i = 0; i < s.points; ++i) {
    if (old_format) {
      s.freq[i] = s.start + i * s.step;
    } else {
      s.freq[i] = in.Value();
      if (!UsableFreq(s.freq[i])) damaged("holds a frequency no instrument measures");
      if (i > 0 && s.freq[i] < s.freq[i - 1]) {
        damaged("holds frequencies that run backwards: a point below the one before it");
      }
    }
    s.zmag[i] = in.Value();
    if (!UsableOhms(s.zmag[i])) damaged("holds an impedance no reading can have");
    s.phase[i] = in.Value();
    if (DIAGMODE != 0) {
      MoveTo(main_win, 500, 350);
      PrintItems(main_win, {" //7823 ", i, " LoadScanA ", QuotedText(line_buf)});
    }
  }
  // A file cut short, or one holding more points than it says, is refused
  // whole rather than read as far as it goes.
  if (in.Next().find("end of") == std::string::npos) {
    Box("Error in scan data file:\r\n" + QuotedText(line_buf) + kCR +
            "The file ends early or does not hold the points it announces." + kCR +
            "The scan on the graph was kept.",
        " Error 78331");
    return kStatusScanFileEnd;
  }
  // The trailer: the instrument model's name on its line 14, numbers on the
  // others; the two lines after them are not used. Lines a file does not
  // hold read as empty.
  for (int t = 1; t <= kTrailerLines + 2; ++t) {
    if (t == kTrailerModelLine || t > kTrailerLines) {
      in.Next();
    } else {
      in.Value();
    }
    s.trailer.push_back(line_buf);
  }
  if (in.NoNumberLine() != 0) {
    return Refuse(scanfile::NoNumberText(in.NoNumberLine()), kStatusScanFileValue);
  }
  if (!damage.empty()) return Refuse(damage, kStatusScanFileValue);
  return 0;
}

double TrailerValue(const ScanFileA& s, int t) {
  return LineValue(s.trailer[t - 1]);
}

// Puts a file that was read whole in place of the stored scan.
void TakeScanFile(const ScanFileA& s) {
  scan_stamp = s.stamp;
  plot_at_zero = s.plot_at_zero;
  scan_extra_value = 0;
  Numscanpts = s.points;
  scanA_npoints = s.points;
  bandscan_mode = 0;
  if (std::fabs(end_freq - s.end) + std::fabs(start_freq - s.start) > 0.0000001) {
    // The Port B scan no longer belongs to these limits: it is cleared and
    // no longer counts as a scan (the exit save must not write its zeros).
    for (double* a : {s21_dB, scanB_phase, scanB_s11rl, scanB_s11phase}) {
      std::fill(a, a + 30011, 0.0);
    }
    scanb_ok = 0;
    scanB_npoints = 0;
  }
  start_freq = s.start;
  end_freq = s.end;
  delta_freq = s.step;
  scanA_limits = {s.start, s.end, s.step};
  graph_start = s.header[0];
  graph_end = s.header[1];
  swr_scale = s.header[2];
  zmag_scale = s.header[3];
  phase_scale = s.header[4];
  grid_units_per_div = s.header[5];
  scn_spare_1 = s.spare1;
  scn_spare_2 = s.spare2;
  freq_per_div = s.freq_per_div;
  PortA_title = s.title;
  std::copy(s.freq.begin(), s.freq.end(), scanA_freq);
  std::copy(s.zmag.begin(), s.zmag.end(), readA_zmag);
  std::copy(s.phase.begin(), s.phase.end(), readA_phase);

  for (int t = 1; t <= kPrintedTrailerLines; ++t) {
    MoveTo(main_win, 100, 100 + 20 * (t - 1));
    PrintText(main_win, s.trailer[t - 1]);
  }
  Zref = TrailerValue(s, 1);
  if (Zref < 1 || Zref > 10000) Zref = 50;
  Z0real = Zref;
  Z0imag = TrailerValue(s, 2);
  if (std::fabs(Z0imag) > 10) Z0imag = 0;
  scn_spare_3 = Rnd(TrailerValue(s, 3));
  double vf = TrailerValue(s, 4);
  if (vf < 0.5) vf = 0.66;
  if (vf > 1) vf = 1;
  VF = vf;
  cable_length = TrailerValue(s, 5);
  average = Rnd(TrailerValue(s, 9));
  average_saved = average;
  smoothing = Rnd(TrailerValue(s, 15));
  smoothing_on = smoothing > 0 ? 1 : 0;
  scan_extra_value = TrailerValue(s, 16);
  scana_ok = 1;
}

// The loaded scan drawn as if it were being measured.
void ReplayLoadedScan() {
  const int kept_cal = PortA_cal;
  ClearGraph();
  FreqGrid();
  rescan_on = 0;
  DrawGraph();
  live_data = 0;
  Scan_A();
  DrawTitle();
  cal_valid = kept_cal;
  live_data = 1;
  SetScanCaptions();
}

}  // namespace

void SaveScanA() {
  if (tdr_mode != 0) {
    SaveTDR(0);
    return;
  }
  // Only measured points are saved: the user's save is told when there are
  // none, the automatic and exit saves pass over it.
  if (!StoredScanSavable(false, save_mode == 0) || !LimitsSavable(scanA_limits)) {
    save_mode = 0;
    return;
  }
  const int n = std::clamp(scanA_npoints, 0, kScanArraySize);
  if (save_mode == 0) {
    AskForName(" Save Port A Scan File", true);
  } else {
    file_name = AutomaticName(save_mode);
  }
  const bool with_companion = save_mode == 0;
  save_mode = 0;
  if (OpenTextFile(data_file, file_name, "W") != 0) {
    if (file_name.size() > 2) Box(ReadOnlyFileText(file_name), "");
    return;
  }
  const std::string companion = file_name.substr(0, file_name.size() - 3) + "csv";
  const bool companion_open =
      with_companion && companion != file_name && OpenTextFile(file_out, companion, "W") == 0;

  SetDigits(8);
  WriteHeader(data_file, n);
  for (int i = 0; i < n; ++i) {
    Line(data_file, scanA_freq[i]);
    Line(data_file, readA_zmag[i]);
    Line(data_file, readA_phase[i]);
  }
  SetDigits(6);
  WriteText(data_file, kEndOfData);
  if (companion_open) {
    WriteCompanion(file_out, n);
    CloseTextFile(file_out);  // a companion that fails is not reported
  }
  WriteTrailer(data_file);
  SetDigits(3);
  CheckWritten(file_name, CloseTextFile(data_file));
}

void LoadScanA() {
  // The arrays belong to the scan that runs (a key its events let through).
  if (ScanAInProgress()) {
    save_mode = 0;
    return;
  }
  std::string comment;     // the graph comment of a file chosen in the dialog
  bool automatic = false;  // an automatic name: the comment is emptied
  if (save_mode == 0) {
    AskForName(" Load Scan File", false);
    if (!IsChoice(file_name)) return;
    comment = CommentForChoice();
  } else if (scan_load_mode == 3) {
    scan_load_mode = 0;  // the command-line file serves the start-up load only
  } else {
    file_name = AutomaticName(save_mode);
    automatic = true;
  }
  save_mode = 0;
  if (const int open = scanfile::OpenForLoad("Port A", 3); open != 0) {
    if (open > 0) vna_status = open;
    return;
  }
  SetDigits(8);
  ScanFileA s;
  const int status = ReadScanFile(s);
  CloseTextFile(data_file);
  SetDigits(3);
  if (status != 0) {
    vna_status = status;
    return;
  }
  if (!comment.empty()) scan_comment = comment;
  if (automatic) scan_comment.clear();
  TakeScanFile(s);
  if (PortB_on == 0) ReplayLoadedScan();
}

}  // namespace vna
