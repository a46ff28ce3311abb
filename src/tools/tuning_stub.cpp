#include "tools/tuning_stub.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/scan_a.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/phase_crossing.h"
#include "tools/state.h"

namespace vna {

namespace {

constexpr double kFeetPerMetre = 3.2808;
constexpr double kStatusBadLength = 21;

void Topmost(const std::string& text) {
  MsgBox(&main_win, text, "", kMbOk, kIconNone, true);
}

void PrintAt(int x, int y, const std::string& text) {
  MoveTo(main_win, x, y);
  PrintText(main_win, text);
}

// The length still to cut, e in metres (negative: too short), in the display unit.
std::string ExcessText(double e, double u) {
  const bool short_cable = e < 0;
  e = std::fabs(e);
  std::string text;
  if (metric == 0) {
    SetDigits(1);
    const double ft = std::floor(u * e);
    text = NumStr(ft) + " ft  " + NumStr((u * e - ft) * 12) + " in    ";
  } else {
    text = NumStr(u * e) + " m";
  }
  return short_cable ? "-" + text : text;
}

// One pass of the trimming loop: the scan, the search and the readouts.
void TrimPass(double target, double u) {
  Window& w = main_win;
  SetPen(w, RedColor, kPenSolid, 1);
  const int x = Rnd(graph_left + (stub_freq - start_freq) * px_per_MHz + 0.5);
  DrawLine(w, x, graph_zero_y - 180, x, graph_zero_y + 180);
  Scan_A();
  // Halted, the relays are off: nothing more to read. A scan that failed
  // has said so; a reading of the search that failed is said here. Either
  // ends the trimming.
  const bool halted = recycle_on == 0 && vna_status == 0;
  bool failed = vna_status != 0;
  if (!failed && !halted) {
    FindPhaseCrossing(1, maximumfreq, 0.005, 0);
    if (vna_status != 0 && vna_status != kStatusNoCrossing) {
      failed = true;
      SayReadingFailed(vna_status, "", "The cable was not measured.");
    }
  }
  if (failed) recycle_on = 0;
  const bool measured = vna_status == 0;
  const double e = VF * 299.8 / (4 * freq) - target;

  SetFont(w, "Arial", font_size + 3, 600, true);
  if (main_loop_on > 0 && (recycle_on > 0 || failed)) {
    MoveTo(w, graph_zero_y - 50, graph_bottom - 30);
    if (!measured) {
      // No crossing: a cut shown from an earlier pass must not stand.
      SetTextColor(w, RedColor);
      PrintText(w, "Excess Length =   not measured        ");
    } else {
      SetTextColor(w, Green);
      PrintText(w, "Excess Length =  " + ExcessText(e, u));
      if (e < 0) {
        SetTextColor(w, RedColor);
        PrintText(w, "  STOP");
      }
    }
  }
  SetTextColor(w, Black);
  SetFont(w, "Arial", font_size + 1, 600);
  SetDigits(3);
  const std::string length = metric != 0 ? NumStr(target) + " m" : NumStr(target / 0.3048) + " ft";
  PrintAt(graph_zero_y - 90, graph_bottom + 5,
          "Velocity Factor = " + NumStr(VF) + "  //  Target Freq = " + NumStr(stub_freq) +
              " //  Target Length = " + length);
}

void TrimGuidance(double target, double u) {
  const int saved_average = average;
  AverageADC(16);
  start_freq = std::max(std::floor(freq - 1), 0.1);
  end_freq = std::floor(stub_freq + 0.5) + 0.75;
  delta_freq = (end_freq - start_freq) / 25;
  FreqGrid();
  ref_to_antenna = 0;
  scanloop = 0;
  recycle_on = 1;
  PortB_on = 0;
  DrawGraph();
  while (main_loop_on == 1 && recycle_on > 0) TrimPass(target, u);
  RestoreAveraging(saved_average);  // a failure's status stays
}

// Measures VF and, when it and the cable are usable, guides the trimming.
void Measure(double u) {
  SetWaitCursor(true);
  freq = 1;
  freq_per_div = 0.005;
  delta_freq = 0.25;
  relayA = 1;
  relayB = 1;
  hw_reset_prompt = 1;
  ProgRelay(3);
  Send_Freq(0);
  if (!ReadingFailed()) {
    PrintAt(graph_zero_y - 50, graph_bottom - 50, "Finding Velocity Factor...please wait");
    FindPhaseCrossing(1, maximumfreq, 0.005, 0);
  }
  if (vna_status != 0 && vna_status != kStatusNoCrossing) {
    SayReadingFailed(vna_status, "", "The velocity factor cannot be measured.");
    return;
  }
  if (vna_status != 0) {
    Topmost(
        "The velocity factor cannot be measured:\rno quarter-wave frequency was found.\r"
        "Error = " +
        NumStr(vna_status));
    return;
  }
  const double vf = 4 * stub_length * freq / 299.8;
  if (vf < 0.5 || vf > 0.99) {
    Topmost(
        "Sorry, the specified length of the cable seems to be incorrect.\r"
        "Please measure the cable and reenter the data.");
    vna_status = kStatusBadLength;
    return;
  }
  VF = vf;
  const double target = VF * 299.8 / (4 * stub_freq);
  const double excess = stub_length - target;
  MoveTo(main_win, graph_zero_y - 50, graph_bottom - 50);
  PrintItems(main_win, {"Velocity factor = ", VF, "                      "});
  if (excess < 0) {
    Topmost("Sorry, the cable is " + NumStr(-excess * u) +
            (metric != 0 ? " meters too short." : " feet too short."));
    vna_status = 1;
    return;
  }
  TrimGuidance(target, u);
}

}  // namespace

int TuningStubHandler() {
  Dialog& d = dlg_tuning_stub;
  if (msg_id == kEvInitDialog) {
    CenterDialog(d);
    if (stub_freq < 0.001) stub_freq = 15;
    SetCtlText(d, 1, NumStr(stub_freq));
    const double k = metric != 0 ? 1 : 1 / 0.3048006;
    double length = k * stub_length;
    if (length < 1) length = 27.5;
    SetCtlText(d, 4, NumStr(length));
    SetCtlText(d, 3, k > 2 ? "Starting Length (feet)" : "Starting Length (meters)");
  } else if (msg_id == kEvCommand && msg_ctl_id == 5) {
    dlg_text1 = GetCtlText(d, 1);
    dlg_text2 = GetCtlText(d, 4);
    CloseDialog(d, 1);
    FocusMainWindow();
  }
  return 0;
}

void MeasureVelocityFactor() {
  ref_to_antenna = 0;
  DrawGraph();
  const int saved_plot_swr = plot_swrA;
  const double saved_zmag = zmag_scale, saved_phase = phase_scale;
  plot_swrA = 0;
  zmag_scale = 20;
  phase_scale = 50;
  bandskip = 0;
  vna_status = 0;
  const double u = metric != 0 ? 1 : kFeetPerMetre;

  if (RunModal(dlg_tuning_stub, &main_win) == 1) {
    stub_freq = std::fabs(ParseNumber(dlg_text1));
    stub_length = std::fabs(ParseNumber(dlg_text2)) / u;
    if (stub_freq > 170 || stub_freq < 1) {
      Topmost("Invalid input frequency");
    } else {
      Measure(u);
      FocusMainWindow();
      relayA = 0;
      relayB = 0;
      ProgRelay(0);
    }
  }
  SetWaitCursor(false);
  FocusMainWindow();
  focus_win = 1;
  lbutton_down = ctrl_key_down = shift_key_down = 0;
  plot_swrA = saved_plot_swr;
  zmag_scale = saved_zmag;
  phase_scale = saved_phase;
}

}  // namespace vna
