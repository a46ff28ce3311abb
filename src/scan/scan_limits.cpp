#include "scan/scan_limits.h"

#include <cctype>
#include <cmath>
#include <string>
#include <utility>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/clear_graph.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/info_panel.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/smoothing.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr int kMaxSteps = 30010;
constexpr double kMinStep = 0.0000001;

std::string limits_title;  // title SetScanLimits prepares for the handler

// The value of a typed text with the "k" rule: kHz where it holds a "k".
double KiloValue(const std::string& text) {
  msg_text = text;
  ParseKSuffix();
  return std::fabs(ParseNumber(msg_text)) * input_scale;
}

// Placeholder values in the arrays of a port that holds no valid scan:
// element k is k x 0.0001.
void WriteRamp() {
  for (int k = 0; k <= max_points && k < kScanArraySize; ++k) {
    const double v = k * 0.0001;
    if (scana_ok == 0) scanA_zmag[k] = scanA_phase[k] = scanA_swr[k] = v;
    if (scanb_ok == 0) s21_dB[k] = scanB_phase[k] = v;
  }
}

// The right group: centre and span into start and stop texts.
void AcceptCentreSpan() {
  std::string centre_text = GetCtlText(dlg_scan_limits, 25);
  for (char& c : centre_text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  msg_text = centre_text;
  ParseKSuffix();
  const double centre = input_scale * ParseNumber(msg_text);
  msg_text = GetCtlText(dlg_scan_limits, 32);
  ParseKSuffix();
  const double span = input_scale * ParseNumber(msg_text);
  double start = centre - span / 2;
  if (start < min_freq) start = min_freq;
  double stop = start + span;
  if (stop > maximumfreq) stop = maximumfreq;
  dlg_text1 = NumStr(start);
  dlg_text2 = NumStr(stop);
  dlg_text3 = GetCtlText(dlg_scan_limits, 34);
  plot_at_zero = 0;
}

}  // namespace

int ScanLimitsHandler() {
  Dialog& d = dlg_scan_limits;
  if (msg_id == kEvInitDialog) {
    CenterDialog(d);
    SetTitle(d, limits_title);
    SetDigits(6);
    SetCtlText(d, 2, NumStr(start_freq));
    SetCtlText(d, 3, NumStr(end_freq));
    SetCtlText(d, 25, NumStr((start_freq + end_freq) / 2));
    SetCtlText(d, 32, NumStr(end_freq - start_freq));
    SetCtlText(d, 4, NumStr(delta_freq));
    SetCtlText(d, 34, NumStr(delta_freq));
    SetDigits(3);
    SetCheck(d, 9, plot_at_zero != 0);
    AddToolTip(d, 9, " Start graph at Freq = 0 ", 500, 32000);
    InfoPanel(6);
  } else if (msg_id == kEvCommand) {
    switch (msg_ctl_id) {
      case 9:
        plot_at_zero = 1 - plot_at_zero;
        SetCheck(d, 9, plot_at_zero != 0);
        break;
      case 10:
        dlg_text1 = GetCtlText(d, 2);
        dlg_text2 = GetCtlText(d, 3);
        dlg_text3 = GetCtlText(d, 4);
        CloseDialog(d, 1);
        FocusMainWindow();
        break;
      case 35:
        AcceptCentreSpan();
        CloseDialog(d, 1);
        FocusMainWindow();
        break;
      default:
        break;
    }
  }
  return 0;
}

void SetScanLimits() {
  if (tdr_mode != 0 || scan_running != 0) return;
  limits_title = " Scan Limits  ( Cal Limits: min=" + NumStr(cal_start_freq) +
                 " max=" + NumStr(cal_end_freq) + " )";
  const double old_delta = delta_freq, old_start = graph_start, old_end = graph_end;
  const int old_plot_at_zero = plot_at_zero;
  RunModal(dlg_scan_limits, &main_win);
  if (dlg_result != 1) {
    // The check box acts at once; a dialog that was not accepted keeps nothing of it.
    plot_at_zero = old_plot_at_zero;
    return;
  }
  sv_start = start_freq;
  sv_end = end_freq;
  sv_delta = delta_freq;
  svplotatzero = plot_at_zero;

  const std::string first = dlg_text1, second = dlg_text2, third = dlg_text3;
  start_freq = KiloValue(first);
  end_freq = KiloValue(second);
  step_text = third;
  double t = KiloValue(third);
  if (t >= 20) {
    // A number of points.
    if (t > kMaxSteps) t = kMaxSteps;
    delta_freq = std::fabs((end_freq - start_freq) / t);
    if (delta_freq < kMinStep) delta_freq = kMinStep;
  } else {
    if (t < kMinStep) t = kMinStep;
    delta_freq = t;
    const int n = Rnd(std::fabs(end_freq - start_freq) / t);
    if (n > kMaxSteps) delta_freq = (end_freq - start_freq) / kMaxSteps;
    if (n < 5) delta_freq = std::fabs(end_freq - start_freq) / 5;
  }
  if (delta_freq > 10) delta_freq = 10;
  if (start_freq < 1.001 && end_freq > 100) plot_at_zero = 1;
  if (start_freq > end_freq * 25 / 100) plot_at_zero = 0;

  CheckScanLimits();
  FreqGrid();
  const bool moved = std::fabs(graph_start - old_start) > 0.000001 ||
                     std::fabs(graph_end - old_end) > 0.000001 ||
                     (scan_from_file > 0 && std::fabs(delta_freq - old_delta) > 0.000001);
  if (moved) {
    DrawGraph();
    scanloop = 0;
  }
  // Above about 500 MHz the readings are noisier: smoothing is forced on.
  if (smoothing < 5 && graph_end > 507) {
    smoothing = Numscanpts < 150 ? 3 : 5;
    smooth_man = smoothing;
  }
  SmoothCells();
  ShowSmoothing();
}

void CheckScanLimits() {
  if (start_freq > end_freq) std::swap(start_freq, end_freq);
  if (start_freq < cal_start_freq) start_freq = cal_start_freq;
  if (start_freq >= cal_end_freq) start_freq = cal_start_freq;
  if (end_freq < start_freq + 0.001) end_freq = start_freq + 0.001;
  if (end_freq > cal_end_freq) end_freq = cal_end_freq;
  if (delta_freq < 0.000001) delta_freq = 0.000001;
  if (delta_freq > 10) delta_freq = 10;
  const double span = end_freq - start_freq;
  const double n = span / delta_freq;
  if (n < 5) delta_freq = (span - 0.001) / 5;
  if (n > max_points) delta_freq = (span + 0.0000001) / max_points;
  // A span of only 0.001 MHz would leave no step at all.
  if (delta_freq < 0.000001) delta_freq = 0.000001;
  FreqGrid();
  if (vna_status != 0) {
    WriteRamp();
    return;
  }
  SetTextColor(main_win, Black);
  ref_to_antenna = 0;
  const double change = std::fabs(start_freq - sv_start) + std::fabs(end_freq - sv_end) +
                        std::abs(plot_at_zero - svplotatzero);
  if (change > 0.0000001) {
    // The stored scans no longer belong to these limits.
    ClearGraph();
    DrawGraph();
    scana_ok = 0;
    scanb_ok = 0;
    // Their arrays get the placeholder ramp below: no point of them is a
    // measured one any more, for the tools, the markers or the readout.
    scanA_npoints = 0;
    scanB_npoints = 0;
    PortA_title.clear();
    PortB_title.clear();
  }
  WriteRamp();
  scanloop = 0;
}

}  // namespace vna
