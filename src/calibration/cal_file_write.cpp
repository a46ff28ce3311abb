// Writing the calibration file.
#include <algorithm>
#include <string>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "instrument/state.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {

namespace {

void Line(const std::string& text) {
  WriteText(data_file, text);
}
void NumberLine(double x) {
  WriteText(data_file, NumStr(x));
}

std::string ModelPrefix() {
  return model_uhf != 0 ? "Zelmar_" : "VNA_";
}

// Entries of the working plan up to and including the one that ends it.
int PlanEntriesInUse() {
  for (int i = 1; i < kPlanSize; ++i) {
    if (freqplan_code[i] < 1) return i + 1;
  }
  return kPlanSize;
}

void WriteModelBlock() {
  Line(" Frequency plan:  entries, then start MHz and multiplier code of each");
  const int n = PlanEntriesInUse();
  NumberLine(n);
  for (int i = 0; i < n; ++i) Line(NumStr(freqplan_bp[i]) + NumStr(freqplan_code[i]));
  NumberLine(GainAfreq5x);
  NumberLine(GainAfreq2);
  NumberLine(clk_intervals);
  const int m = std::clamp(osc_band_count, 0, kOscBandSize - 1);
  NumberLine(m);
  for (int i = 1; i <= m; ++i) Line(NumStr(osc_band_lo[i]) + NumStr(osc_band_hi[i]));
}

void WritePortARows(int n, int which) {
  static const char* const kTags[] = {"  short", "  open", "  Rstd"};
  for (int i = 0; i < n; ++i) {
    const CalPointA& p = CalDataA[i];
    const double r = which == 0 ? p.shortR : which == 1 ? p.openR : p.stdR;
    const double x = which == 0 ? p.shortX : which == 1 ? p.openX : p.stdX;
    Line(FormatUsing("##### ####.###### ######.#### ######.#### ##### ####.#### ####",
                     {i, p.freq, r, x, p.multstate - 2, p.gainA, p.osc}) +
         kTags[which]);
  }
}

void WritePortBRows(int n, bool high) {
  for (int i = 0; i < n; ++i) {
    const CalPointB& p = CalDataB[i];
    const double ratio = high ? p.ratio_high : p.ratio_low;
    const double phase = (high ? p.phase_high : p.phase_low) * 57.3;
    // The oscillator follows the Port B gain without a blank of its own.
    Line(FormatUsing("#### ####.####### ######.####### ######.###### ##### ####.#### ####.####",
                     {i, p.freq, ratio, phase, p.multstate - 2, p.gainA, p.gainB}) +
         FormatUsing("####", {p.osc}) + (high ? "  High_range" : "  Low_range"));
  }
}

void WriteCalibration(int n) {
  SetDigits(4);
  NumberLine(16300);
  NumberLine(maximumfreq);
  cal_prog_version = ModelPrefix() + prog_ver + prog_subver;
  Line(cal_prog_version);
  std::string instrument = "Instrument: VNA-" + model;
  if (mux_chan > 0) instrument += "  multiplexer channel" + NumStr(mux_chan);
  Line(instrument);
  Line(DateText() + "  " + TimeText());

  SetDigits(6);
  Line(ModelPrefix());
  NumberLine(Rstd);
  Line(cal_comment);
  NumberLine(cal_temperature);
  NumberLine(std_cal);
  NumberLine(cal_start_freq);
  NumberLine(cal_end_freq);
  NumberLine(cal_delta_freq);
  NumberLine(DDS_Amplitude);
  NumberLine(PortA_Sens);
  NumberLine(PortA_Gain);
  NumberLine(cal_points);
  NumberLine(1);
  if (model_uhf != 0) WriteModelBlock();

  NumberLine(DDS_Amplitude);
  Line(" Short Circuit:   index  Freq  R  X  GainA  ");
  WritePortARows(n, 0);
  Line(" Open Circuit:   index  Freq  R  X ");
  WritePortARows(n, 1);
  Line(" Standard Resistance:  index  Freq  R  X");
  WritePortARows(n, 2);

  const int nb = PortB_cal != 0 ? n : 0;
  Line(" Port B cal data:");
  NumberLine(PortB_cal != 0 ? cal_points : 0);
  NumberLine(indep_chan);
  NumberLine(0);
  for (int k = 1; k <= 5; ++k) {
    Line("  " + NumStr(k) + "  " + NumStr(RngGain[k]) + "   " + NumStr(Rng[k] * 57.3));
  }
  Line("B Low range   index  freq  ratio  phase");
  WritePortBRows(nb, false);
  Line("B High range");
  WritePortBRows(nb, true);
}

}  // namespace

std::string CalChannelFileName(const std::string& path, int chan) {
  if (path.empty()) return "";
  const size_t folder_end = path.find_last_of("\\/");
  const size_t name_start = folder_end == std::string::npos ? 0 : folder_end + 1;
  const size_t dot = path.find('.', name_start);
  const std::string stem = dot == std::string::npos ? path + "." : path.substr(0, dot + 1);
  return stem + "chan" + NumStr(chan).substr(1);  // the digits without the blank
}

namespace {

// The dialog of a file for the calibration, from cal_folder (or the program
// folder); its choice becomes cal_save_name. "" when cancelled.
std::string AskCalFileName() {
  const std::string start = cal_folder.size() > 2 ? cal_folder : ProgramFolder();
  cal_save_name = FileDialog(" Save Calibration File", &main_win, true,
                             "Cal Files(*.vcal)|*.vcal||", "vcal", start);
  return cal_save_name;
}

// Writes the calibration to path; "" when it is written, else what the
// person is told about why not.
std::string WriteCalFile(const std::string& path, int n) {
  if (OpenTextFile(data_file, path, "W") != 0) return CannotCreateFileText(path);
  WriteCalibration(n);
  if (const int err = CloseTextFile(data_file); err != 0) return WriteFailedText(path, err);
  return "";
}

}  // namespace

bool SaveCalFile() {
  const int n = std::clamp(cal_points, 0, kCalTableSize);
  std::string path;
  if (mux_chan < 2) path = AskCalFileName();
  if (mux_chan != 0) path = CalChannelFileName(cal_save_name, mux_chan);
  // Whatever happens, a caller that reads the calibration back reads the
  // file in force: the one written, or the previous one.
  file_name = cal_file_path;
  if (path.size() <= 2) return false;  // no file chosen: nothing is written

  for (;;) {
    const std::string why = WriteCalFile(path, n);
    if (why.empty()) break;
    if (mux_chan >= 2) {
      // A further channel of a multichannel calibration: its name follows
      // channel 1's, so there is no other name to offer.
      MsgBox(&main_win, why, "", kMbOk, kIconNone, true);
      return false;
    }
    // An hour's measurement must not be lost to a folder that is missing
    // or locked: it stays in force, and another name is offered.
    if (MsgBox(&main_win,
               why + "\r\rThe new calibration stays in force, but no file holds it yet." +
                   "\rDo you want to save it under another name?",
               " Calibration not saved", kMbYesNo, kIconExclamation, true) != kIdYes ||
        (path = AskCalFileName()).size() <= 2) {
      cal_unsaved = 1;
      cal_file_path = "";
      cal_file_name = "";
      file_name = "";
      return false;
    }
    if (mux_chan != 0) path = CalChannelFileName(cal_save_name, mux_chan);
  }
  cal_unsaved = 0;
  cal_file_path = path;
  SplitPathInto(path, cal_file_name, cal_folder);
  file_name = path;
  SetDigits(3);
  return true;
}

}  // namespace vna
