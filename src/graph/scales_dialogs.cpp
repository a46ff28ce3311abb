#include "graph/scales_dialogs.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "files/settings.h"
#include "graph/clear_graph.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "tools/state.h"
#include "tools/tdr.h"
#include "tools/tdr_frame.h"

namespace vna {
namespace {

// The boxes whose texts Enter hands back in dlg_text1..dlg_text9.
constexpr int kScaleBoxes[9] = {1, 2, 3, 12, 14, 15, 25, 26, 21};

void FillList(Dialog& d, int id, const std::vector<std::string>& items) {
  ComboClear(d, id);
  for (const std::string& s : items) ComboAdd(d, id, s);
}

// The number text of a setting for its edit field: at least `decimals`
// decimals, more when the value needs them, so that Enter without an edit
// reads back the value in force (up to the last bits of the reading).
std::string FieldText(double v, int decimals) {
  std::string s;
  for (int d = decimals; d <= 8; ++d) {
    SetDigits(d);
    s = NumStr(v);
    if (std::fabs(ParseNumber(s) - v) <= 1e-12 * std::fabs(v)) break;
  }
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}
// The text before the first `c`, or all of it.
std::string Before(const std::string& s, char c) {
  return s.substr(0, s.find(c));
}

double Magnitude(const std::string& text) {
  return std::fabs(ParseNumber(text));
}

// A full scale the graph divides by: a text that reads as 0 keeps the one in
// force.
void TakePositive(double& setting, double v) {
  if (v > 0 && std::isfinite(v)) setting = v;
}

double SnapGainScale(double v) {
  const struct {
    double below, scale;
  } steps[] = {{0.1, 0.05}, {0.2, 0.1}, {0.5, 0.2}, {1, 0.5}, {2, 1},
               {3, 2},      {5, 3},     {6, 5},     {10, 6}};
  for (const auto& s : steps)
    if (v < s.below) return s.scale;
  return 10;
}

void FillScaleLists() {
  Dialog& d = dlg_graph_scales;
  FillList(d, 1,
           {"1.5", "2", "3", "4", "5", "6", "11", "21", "51", "------- ", "2 Log", "5 Log",
            "10 Log", "20 Log", "50 Log", "100 Log"});
  FillList(d, 2,
           {" 2", " 5", "10", "20", "50", "100", "200", "500", "1000", "2000", "5000", "10000"});
  FillList(d, 3, {"10", "20", "50", "100"});
  FillList(d, 12, {"1", "2", "5", "10", "20", "30", "40", "50", "60"});
  FillList(d, 14, {"10", "20", "50", "100", "200"});
  // Each S21 step with the dB at the bottom of the graph for the present
  // 0 dB line.
  ComboClear(d, 15);
  const struct {
    const char* text;
    double step;
    int decimals;
  } steps[] = {{" 0.2   (", 0.2, 1}, {" 0.5   (", 0.5, 1}, {" 1     (", 1, 0}, {" 2     (", 2, 0},
               {" 3     (", 3, 0},   {" 5     (", 5, 0},   {" 6     (", 6, 0}};
  for (const auto& s : steps) {
    SetDigits(s.decimals);
    ComboAdd(d, 15, s.text + NumStr(s.step * (20 - Zero_Ref)) + ")");
  }
  FillList(d, 25, {"10", "20", "50", "100", "200"});
  FillList(d, 26, {"0", "5", "6", "12", "-5", "-6", "-12"});
  FillList(d, 21,
           {" 1 ns", " 5 ns", " 10 ns", " 50 ns", " 100 ns", " 500 ns", " 1 us", " 5 us", " 10 us",
            " 50 us", " 100 us", " 500 us", " 1 ms", " 5 ms", " 10 ms"});
}

void ShowScales() {
  Dialog& d = dlg_graph_scales;
  SetCtlText(d, 1, FieldText(swr_scale, 2) + (swr_log != 0 ? " Log" : ""));
  SetCtlText(d, 2, FieldText(zmag_scale, 2));
  SetCtlText(d, 3, FieldText(phase_scale, 2));
  SetCtlText(d, 12, FieldText(rtloss_scale, 2));
  SetCtlText(d, 14, FieldText(Q_scale, 2));
  SetCtlText(d, 15, FieldText(s21gain_scale, 2));
  SetCtlText(d, 25, FieldText(s21phase_scale, 2));
  SetCtlText(d, 26, FieldText(s21gain_scale * Zero_Ref, 2));
  if (delay_scale > 999) {
    SetCtlText(d, 21, FieldText(delay_scale / 1000, 3) + "us");
  } else {
    SetCtlText(d, 21, FieldText(delay_scale, 3) + " ns");
  }
}

// SWR: "L" anywhere asks for the logarithmic scale; the separator of the
// list reads as 11.
void TakeSwr(std::string t) {
  t = Upper(t);
  swr_log = t.find('L') != std::string::npos ? 1 : 0;
  t = Before(t, 'L');
  if (t.find("--") != std::string::npos) t = "11";
  if (!t.empty()) swr_scale = std::clamp(Magnitude(t), 1.1, 101.0);
}

// An impedance or S21 phase full scale: above 226 it is 225, below 1 it
// takes `low`.
void TakePhase(const std::string& t, double& setting, double low) {
  if (t.empty()) return;
  double v = Magnitude(t);
  if (v > 226) v = 225;
  if (v < 1) v = low;
  setting = array_phase_scale = v;
}

void TakeDelay(std::string t) {
  t = Lower(t);
  if (t.empty()) return;
  double factor = 1;
  if (t.find('u') != std::string::npos) {
    t = Before(t, 'u');
    factor = 1000;
  }
  if (t.find('m') != std::string::npos) {
    t = Before(t, 'm');
    factor = 1000000;
  }
  TakePositive(delay_scale, Magnitude(t) * factor);
}

}  // namespace

int GraphScalesHandler() {
  Dialog& d = dlg_graph_scales;
  if (msg_id == kEvInitDialog) {
    CenterDialog(d);
    FillScaleLists();
    ShowScales();
    AddToolTip(d, 18, "S21 mag. dB/div", 250);
    AddToolTip(d, 27, "S21 (dB) value at top line of graph.", 250);
    AddToolTip(d, 28, "Phase shift between Ports A and B. Wraps around at 180 deg.", 250);
    AddToolTip(d, 19, "Rate of change of phase with respect to frequency.", 250);
  } else if (msg_id == kEvCommand && (msg_ctl_id == 7 || msg_ctl_id == 20)) {
    if (msg_ctl_id == 7) {
      for (int k = 0; k < 9; ++k) DlgText(k + 1) = GetCtlText(d, kScaleBoxes[k]);
    }
    CloseDialog(d, msg_ctl_id == 7 ? 1 : 0);
    FocusMainWindow();
  }
  return 0;
}

void GraphScales() {
  if (scan_running != 0) return;
  RunModal(dlg_graph_scales, &main_win);
  if (dlg_result != 1) return;
  TakeSwr(dlg_text1);
  if (!dlg_text2.empty()) TakePositive(zmag_scale, Magnitude(dlg_text2));
  TakePhase(dlg_text3, phase_scale, 1);
  if (!dlg_text4.empty()) rtloss_scale = std::clamp(Magnitude(dlg_text4), 1.0, 80.0);
  if (!dlg_text5.empty()) TakePositive(Q_scale, std::min(Magnitude(dlg_text5), 500.0));
  if (!dlg_text6.empty()) s21gain_scale = SnapGainScale(Magnitude(Before(Upper(dlg_text6), 'D')));
  TakePhase(dlg_text7, s21phase_scale, 200);
  const std::string offset = Lower(dlg_text8);
  if (!offset.empty()) Zero_Ref = Rnd(ParseNumber(offset) / s21gain_scale + 0.49);
  TakeDelay(dlg_text9);
  RedrawGraph();
}

int TDRScalesHandler() {
  Dialog& d = dlg_tdrscales;
  if (msg_id == kEvInitDialog) {
    CenterDialog(d);
    const double unit = metric != 0 ? 0.3048 : 1;
    SetDigits(1);
    ComboClear(d, 1);
    for (double feet : {5, 10, 20, 50, 100, 200, 500, 1000, 2000})
      ComboAdd(d, 1, NumStr(unit * feet));
    SetCtlText(d, 1, NumStr(unit * DXscale));
    FillList(d, 5, {"70", "100", "200", "500", "1000"});
    SetCtlText(d, 5, NumStr(tdr_zmax));
  } else if (msg_id == kEvCommand && msg_ctl_id == 8) {
    dlg_text1 = GetCtlText(d, 1);
    dlg_text2 = GetCtlText(d, 5);
    CloseDialog(d, 1);
    FocusMainWindow();
  }
  return 0;
}

void TDRScales() {
  // The sweep of a TDR run works to the plan of the scales it started with.
  if (scan_running != 0) return;
  const double kept_distance = DXscale, kept_impedance = tdr_zmax;
  RunModal(dlg_tdrscales, &main_win);
  if (dlg_result != 1) return;
  double feet = Magnitude(dlg_text1);
  if (metric != 0) feet *= 3.2808;
  DXscale = SnapTDRDistance(feet);
  tdr_zmax = SnapTDRImpedance(ParseNumber(dlg_text2));
  tdr_range_factor = (tdr_zmax - tdr_zo) / (tdr_zmax + tdr_zo);
  if (std::fabs(tdr_zmax - kept_impedance) > 0.01 || std::fabs(DXscale - kept_distance) > 0.01) {
    SetTDRPoints();
    ClearGraph();
    DrawTDR();
    PlotStoredTDR();  // with its own feet per sample; the plan follows the new scales again
  }
  tdr_show_params = 0;
}

}  // namespace vna
