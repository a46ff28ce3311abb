// Crystal measurement. The corrected impedance phase of a crystal goes from
// capacitive (-90 degrees) below its series resonance to inductive between
// the series and the parallel resonance and back to capacitive above. Each
// search steps upwards until the phase changes sign, then goes back two
// steps and repeats with half the step, five passes in all, and interpolates
// the zero linearly between the last two points of the last pass.
#include "tools/crystal.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/xtal_file.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/phase_crossing.h"
#include "tools/state.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

// What the measurement changes for its duration and gives back at its end.
struct SavedSettings {
  int delay = 0;
  int average = 0;
  // The results as they were: a failed reading leaves them so, rather than
  // half of this crystal's beside half of the last one's.
  double results[7] = {};
};

double* const kResults[] = {&xtal_Fs, &xtal_Fp, &xtal_Rs, &xtal_Ls, &xtal_Cs, &xtal_Cp, &xtal_Q};

void Restore(const SavedSettings& saved) {
  average = saved.average;
  AverageADC(saved.average);
  scan_running = 0;
  DDSdelay = saved.delay;
}

// A way out after the relays were switched on: relays off and the settings
// back before the message, so nothing stays changed whatever the answer.
void Abandon(const SavedSettings& saved, const std::string& text, const std::string& caption) {
  ProgRelay(0);
  Restore(saved);
  MsgBox(&main_win, text, caption, kMbOk, kIconNone, true);
}

bool Running() {
  return scan_running == 1 && main_loop_on != 0;
}

// The row of the progress dots between the text line above the graph and
// the graph box, wiped before the measurement and after it. The text line
// (the last scan's resonances, printed in the graph's font) is left whole:
// blanks printed on a line of their own 20 pixels above the box cut through
// it and missed the dots.
void ClearProgressRow() {
  const int top = line1_y + FontInkLineHeight("arial", font_size + 1, font_weight);
  if (top >= graph_top) return;
  FillRect(main_win, graph_left - 2, top, graph_right - graph_left + 5, graph_top - top, bg_color);
}

// The frequency being read, as a dot above the graph and as a text line.
void ShowProgress(double step, int pass) {
  const int x = GraphX(freq);
  if (x > graph_left && x < graph_right) {
    SetPen(main_win, Blue);
    SetFill(main_win, true, Blue);
    DrawCircle(main_win, x, graph_top - 2, 3);
    SetFill(main_win, false);
  }
  MoveTo(main_win, graph_left + 5, graph_bottom - 40);
  if (DIAGMODE != 0) {
    PrintItems(main_win, {"Pos Slope  loop = ", 0, "    freq=", freq, "  delf = ", step,
                          "   pass = ", pass, "     "});
  } else {
    PrintItems(main_win, {" Freq = ", freq, "     "});
  }
}

// One point at freq; false when the reading failed (its status stays in
// vna_status).
bool ReadPoint() {
  MeasureAtFreq();
  if (ReadingFailed()) return false;
  if (DIAGMODE != 0) {
    MoveTo(main_win, graph_left, graph_bottom - 20);
    PrintItems(main_win, {"  Freq =", freq, "  Phase =", Zphase * 57.296, "      "});
  }
  return true;
}

// A failed reading ends the measurement: nothing it gave is a result, and
// the results stay as they were. Relays off and settings back as on every
// way out, the failure said once, and its status kept to the end.
void Fail(const SavedSettings& saved) {
  const int status = vna_status;
  for (int i = 0; i < 7; ++i) *kResults[i] = saved.results[i];
  ProgRelay(0);
  Restore(saved);
  ClearProgressRow();
  SayReadingFailed(status, " Crystal Measurement", "The crystal was not measured.");
  SetDigits(3);
  vna_status = status;
}

// One sign change of the phase, found in five passes: `rising` looks for the
// change from negative to positive, else from positive to negative.
struct Search {
  bool rising = true;
  double step = 0;         // current step, MHz
  double refine_step = 0;  // 0: halve the step at each pass, else this step
  double accel_limit = 0;  // 0: no acceleration, else the largest step
  int max_count = 0;
  double f_hi = 0;
  // The last point on the near side and the first past the change.
  double f1 = 0, phi1 = 0, f2 = 0, phi2 = 0;
};

enum class Outcome { kFound, kNotFound, kFailed };

// Walks from freq; kFound when the fifth pass saw the change, kFailed when
// a reading failed.
Outcome RunSearch(Search& s) {
  int found = 0, pass = 1, count = 0, refined = 0;
  s.f2 = 0;
  while (count < s.max_count && freq < s.f_hi && found == 0 && pass < 6 && Running()) {
    SetDigits(6);
    ++count;
    ShowProgress(s.step, pass);
    if (!ReadPoint()) return Outcome::kFailed;
    if (!s.rising && DIAGMODE != 0) PlotDebugPoint(freq, Zphase, 1, 3, RedColor);
    const bool near_side = s.rising ? Zphase < 0 : Zphase > 0;
    const bool past = s.rising ? Zphase > 0 : Zphase < 0;
    if (near_side) {
      s.f1 = freq;
      s.phi1 = Zphase;
    }
    if (past && s.f2 < 0.001) {
      s.f2 = freq;
      s.phi2 = Zphase;
      found = 1;
    }
    // Between the resonances the crystal is far from both: stride faster.
    if (s.accel_limit > 0 && fit_phase > 1.3 && refined == 0) {
      s.step = std::min(s.step * 1.5, s.accel_limit);
    }
    freq += s.step;
    if (pass < 5 && found == 1) {
      found = 0;
      freq = s.f1 - 2 * s.step;
      s.step = s.refine_step > 0 ? s.refine_step : s.step / 2;
      s.f2 = 0;
      ++pass;
      refined = 1;
    }
    PumpEvents();
  }
  return found == 1 ? Outcome::kFound : Outcome::kNotFound;
}

double ZeroCrossing(const Search& s) {
  return s.f1 - s.phi1 * (s.f2 - s.f1) / (s.phi2 - s.phi1);
}

std::string LargeCapacitanceText() {
  return "Parallel capacitance = " + NumStr(Cs) +
         " pf\r\nThis is unusually large.\r\n"
         "Make sure the crystal test holder has\r\n"
         "been included in the calibration procedure.\r\n"
         "The short, open & resistor cal loads should be placed\r\n"
         "at the same point where the crystal is connected.\r\n\r\n"
         "You can continue but the data may not be accurate.";
}

std::string WrongPhaseText() {
  return "The phase of the crystal impedance is out of range at " + NumStr(freq) +
         " MHz.\r\n(It measured " + NumStr(Zphase * 57.3) +
         " deg and it should be less than -45 deg.)\r\n"
         "Check the nominal resonant freq of the crystal.\r\n\r\n"
         "If necessary, do a regular scan to find the series resonant freq\r\n"
         "and try the measurement again.";
}

// Reads the holder capacitance well below the series resonance, moving
// closer when the first reading shows the crystal inductive there. False
// when a reading failed.
bool MeasureHolderCapacitance(double f) {
  for (double factor : {0.78, 0.90, 0.95}) {
    freq = factor * f;
    if (!ReadPoint()) return false;
    if (Cs >= 0) break;
  }
  xtal_Cp = Cs;
  if ((Cs < 0 || Cs > 20) && xtal_cp_warned == 0) {
    MsgBox(&main_win, LargeCapacitanceText(), " Large capacitance", kMbOk, kIconNone, true);
    xtal_cp_warned = 1;
  }
  return true;
}

void ComputeMotionalArm() {
  xtal_Cs = 2 * xtal_Cp * (xtal_Fp - xtal_Fs) / xtal_Fs;
  xtal_Ls = 1000000 / (4 * pi * pi * xtal_Fs * xtal_Fs * xtal_Cs);
  xtal_Q = 2 * pi * xtal_Ls * xtal_Fs / (xtal_Rs + 0.0000001);
}

// The calibration must cover every frequency the measurement reads: the
// holder capacitance at 0.78 f (or f - 1 MHz when that is lower, never
// below the instrument's lowest frequency) up to half a MHz above f.
bool CalibrationCovers(double f, double& lowest, double& highest) {
  lowest = std::max(std::min(f - 1, 0.78 * f), min_freq);
  highest = f + 0.5;
  return cal_start_freq <= lowest && cal_end_freq >= highest;
}

// The search from the entered frequency on; the relays are on and the
// settings saved.
void Measure(const SavedSettings& saved) {
  const double f = xtal_freq;
  const double q = xtal_q_range >= 10 ? 10 : 1;
  const double f_lo = f - 0.001 * f / q;
  double f_hi = std::max(f + 0.04 * f / q, end_freq);
  if (std::fabs(f_hi - f_lo) > 1) f_hi = f_lo + 1;

  double lowest = 0, highest = 0;
  if (!CalibrationCovers(f, lowest, highest)) {
    Abandon(saved,
            "Note: the cal range is not appropriate for this crystal measurement.\r"
            "The min cal limits are:" +
                NumStr(lowest) + " to" + NumStr(highest),
            "");
    return;
  }
  DDSdelay = 20;
  if (!MeasureHolderCapacitance(f)) {
    Fail(saved);
    return;
  }

  freq = f_lo;
  if (!ReadPoint()) {
    Fail(saved);
    return;
  }
  if (Zphase > -0.785) {
    Abandon(saved, WrongPhaseText(), " Resonant Freq Incorrect");
    return;
  }

  Search series;
  series.rising = true;
  series.step = f * 0.00001 / q;
  series.max_count = 10000;
  series.f_hi = f_hi;
  // The start point is below the resonance: the near side until a later read.
  series.f1 = f_lo;
  series.phi1 = Zphase;
  const Outcome series_outcome = RunSearch(series);
  if (series_outcome == Outcome::kFailed) {
    Fail(saved);
    return;
  }
  if (series_outcome == Outcome::kNotFound) {
    Abandon(
        saved,
        "Series resonant freq was not found.\rLast freq checked was " + NumStr(freq - series.step),
        " Error 27115");
    return;
  }
  xtal_Fs = ZeroCrossing(series);
  if (DIAGMODE != 0) PlotDebugPoint(xtal_Fs, 0, 1, 6, Green);
  freq = xtal_Fs;
  if (!ReadPoint()) {
    Fail(saved);
    return;
  }
  xtal_Rs = point_Rs;

  Search parallel;
  parallel.rising = false;
  parallel.step = f * 0.5 * 0.00001 / q;
  parallel.refine_step = parallel.step / 2;
  parallel.accel_limit = 20 * parallel.step;
  parallel.max_count = 20000;
  parallel.f_hi = f_hi;
  // The first inductive point of the series search is the near side until
  // a later read.
  parallel.f1 = series.f2;
  parallel.phi1 = series.phi2;
  freq = series.f2 + parallel.step;
  const Outcome parallel_outcome = RunSearch(parallel);
  if (parallel_outcome == Outcome::kFailed) {
    Fail(saved);
    return;
  }
  if (parallel_outcome == Outcome::kNotFound) {
    Abandon(saved,
            "Parallel resonant freq was not found.\rLast freq checked was " +
                NumStr(freq - parallel.step),
            " Error 27116");
    return;
  }
  xtal_Fp = ZeroCrossing(parallel);
  if (DIAGMODE != 0) PlotDebugPoint(xtal_Fp, 0, 1, 6, Green);
  freq = xtal_Fp;
  ProgRelay(0);

  ComputeMotionalArm();
  if (xtal_Q > 10000000) {
    MsgBox(&main_win,
           "Error in finding Q > 10,000,000.\r\nFseries = " + NumStr(xtal_Fs) +
               " Fparallel = " + NumStr(xtal_Fp) + "\r\nRseries = " + NumStr(xtal_Rs),
           " Error 72392", kMbOk, kIconNone, true);
    vna_status = 72392;
  }
  ClearProgressRow();
  RunModal(dlg_crystal_params, &main_win);
  FocusMainWindow();
  Restore(saved);
  SetDigits(3);
}

// The value fields of the results dialog: value and decimals, in field order.
struct ResultField {
  int id;
  double value;
  int decimals;
};

}  // namespace

void MeasureCrystal() {
  if (xtal_freq < 0.1) xtal_freq = 10;
  RunModal(dlg_crystal_meas, &main_win);
  if (dlg_result != 1) return;
  // A field left empty (or blank) keeps the last frequency.
  if (dlg_text1.find_first_not_of(" \t") != std::string::npos) {
    xtal_freq = ParseNumber(dlg_text1);
  }
  freq = xtal_freq;
  if (xtal_freq < 0.99) {
    MsgBox(&main_win, "The lowest crystal frequency that can be measured is 0.99 MHz",
           " Crystal freq is too low", kMbOk, kIconNone, true);
    return;
  }

  ref_to_antenna = 0;
  smoothing = 0;
  SavedSettings saved;
  for (int i = 0; i < 7; ++i) saved.results[i] = *kResults[i];
  saved.delay = DDSdelay;
  scan_running = 1;
  saved.average = average;
  AverageADC(4);
  hw_reset_prompt = 1;
  ProgRelay(3);
  FocusMainWindow();
  ClearProgressRow();
  Measure(saved);
}

int CrystalMeasHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_crystal_meas);
    SetCtlText(dlg_crystal_meas, 1, " " + FormatUsing("###.######", {xtal_freq}));
    SetCheck(dlg_crystal_meas, 4, xtal_q_range == 1);
    SetCheck(dlg_crystal_meas, 6, xtal_q_range == 10);
  } else if (msg_id == kEvCommand) {
    if (msg_ctl_id == 4 || msg_ctl_id == 6) {
      xtal_q_range = msg_ctl_id == 4 ? 1 : 10;
      SetCheck(dlg_crystal_meas, 4, xtal_q_range == 1);
      SetCheck(dlg_crystal_meas, 6, xtal_q_range == 10);
    } else if (msg_ctl_id == 8) {
      dlg_text1 = GetCtlText(dlg_crystal_meas, 1);
      CloseDialog(dlg_crystal_meas, 1);
    }
  }
  return 0;
}

int CrystalParamsHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_crystal_params);
    const ResultField fields[] = {
        {9, xtal_Fs, 6},  {10, xtal_Fp, 6}, {11, xtal_Rs, 3}, {12, xtal_Ls * 0.001, 4},
        {13, xtal_Cs, 7}, {14, xtal_Cp, 4}, {15, xtal_Q, 0},
    };
    for (const ResultField& field : fields) {
      SetCtlFont(dlg_crystal_params, field.id, "arial", font_size + 2, 600);
      SetDigits(field.decimals);
      SetCtlText(dlg_crystal_params, field.id, " " + NumStr(field.value));
    }
    // A holder capacitance this large means the fixture was left out of
    // the calibration.
    if (xtal_Cp > 20) SetCtlColors(dlg_crystal_params, 14, White, RedColor);
    SetDigits(3);
  } else if (msg_id == kEvCommand) {
    if (msg_ctl_id == 18) {
      CloseDialog(dlg_crystal_params, 1);
    } else if (msg_ctl_id == 19) {
      SaveXtalData();
      CloseDialog(dlg_crystal_params, 1);
    }
  }
  return 0;
}

}  // namespace vna
