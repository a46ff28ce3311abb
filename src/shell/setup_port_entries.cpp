// Setup entries that serve one port: the rotation of the second Smith chart
// (Port A), and the group-delay offset, its smoothing and the two dB rulers
// (Port B).
#include <cctype>
#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "scan/group_delay.h"
#include "scan/state.h"
#include "shell/chart_loops.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Takes the level of one ruler field; a change of size (not of sign alone)
// switches the ruler on.
void TakeRulerField(int field, int box, double& level, int& on) {
  double typed = 0;
  if (!ParseRulerLevel(GetCtlText(dlg_rulers, field), typed)) return;
  if (std::fabs(std::fabs(typed) - std::fabs(level)) > 0.0001) {
    on = 1;
    SetCheck(dlg_rulers, box, true);
  }
  level = typed;
}

void ToggleRuler(int box, int& on) {
  on = 1 - on;
  SetCheck(dlg_rulers, box, on != 0);
}

}  // namespace

void EnterSmithRotation() {
  if (PortB_on != 0) return;
  msg_text = "Rotate Smith Chart (+/-degrees)";
  input_value = smith_rotation;
  if (smith2_active > 0) FocusForm(smith2_win);
  RunModal(dlg_enter_data, &main_win);
  if (dlg_result == 1) {
    if (!dlg_text1.empty()) smith_rotation = ParseNumber(dlg_text1);
    RepeatSmith2();
  }
  FocusMainWindow();
}

void EnterDelayOffset() {
  if (PortB_on == 0) return;
  const double v = delay_offset;
  if (v < 1e-6) {
    msg_text = NumStr(v * 1e9) + " nsec";
  } else if (v < 0.001) {
    msg_text = NumStr(v * 1e6) + " usec";
  } else {
    msg_text = NumStr(v * 1000) + " msec";
  }
  SetDigits(9);
  RunModal(dlg_delay_time, &main_win);
  if (dlg_result != 1 || dlg_text1.empty()) return;
  const std::string unit = Lower(dlg_text1);
  double factor = 1;
  if (unit.find('m') != std::string::npos) {
    factor = 0.001;
  } else if (unit.find('u') != std::string::npos) {
    factor = 1e-6;
  } else if (unit.find('n') != std::string::npos) {
    factor = 1e-9;
  }
  delay_offset = factor * ParseNumber(dlg_text1);
}

int DelayTimeHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_delay_time);
    SetCtlText(dlg_delay_time, 1, msg_text);
  } else if (msg_id == kEvCommand) {
    switch (msg_ctl_id) {
      case 2:
        dlg_text1 = GetCtlText(dlg_delay_time, 1);
        CloseDialog(dlg_delay_time, 1);
        break;
      case 3:  // "Null the Delay": the mean delay of the stored scan is taken out
        dlg_text1.clear();
        // Of its measured points: a Port B scan that new limits or a Port A
        // file have dropped since leaves no delay to take out.
        delay_offset += MeanDelay(scanB_phase, scanB_freq, MeasuredPointsB());
        CloseDialog(dlg_delay_time, 2);
        break;
      case 4:
        CloseDialog(dlg_delay_time, 2);
        break;
      default:
        break;
    }
  }
  return 0;
}

void EnterDelaySmoothing() {
  if (PortB_on == 0) return;
  msg_text = "Group Delay Smoothing 0..20 samples  (enter \"%\" for percent)";
  input_value = std::abs(delay_smoothing);
  RunModal(dlg_enter_data, &main_win);
  input_scale = 1.0;
  if (dlg_result != 1) return;
  bool percent = false;
  double v = std::abs(delay_smoothing);
  if (!dlg_text1.empty()) {
    std::string text = Lower(dlg_text1);
    size_t p = text.find('%');
    if (p == std::string::npos) p = text.find('p');
    if (p != std::string::npos) {
      percent = true;
      text.resize(p);
    }
    v = std::fabs(ParseNumber(text));
  }
  if (v > 20) v = 20;
  if (percent) v = -v;
  delay_smoothing = Rnd(v);
}

void ShowRulers() {
  if (PortB_on == 0) return;
  RunModal(dlg_rulers, &main_win);
}

int RulersHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_rulers);
    SetCtlText(dlg_rulers, 5, NumStr(ruler_1));
    SetCtlText(dlg_rulers, 6, NumStr(ruler_2));
    if (std::abs(ruler1_on) > 1) ruler1_on = 1;
    if (std::abs(ruler2_on) > 1) ruler2_on = 1;
    SetCheck(dlg_rulers, 7, ruler1_on != 0);
    SetCheck(dlg_rulers, 8, ruler2_on != 0);
  } else if (msg_id == kEvCommand) {
    switch (msg_ctl_id) {
      case 7:
        ToggleRuler(7, ruler1_on);
        break;
      case 8:
        ToggleRuler(8, ruler2_on);
        break;
      case 9:
        TakeRulerField(5, 7, ruler_1, ruler1_on);
        TakeRulerField(6, 8, ruler_2, ruler2_on);
        // Ruler 1 is never below ruler 2 while ruler 2 is on.
        if (ruler2_on > 0 && ruler_1 < ruler_2) std::swap(ruler_1, ruler_2);
        CloseDialog(dlg_rulers, 1);
        RedrawGraph();
        FocusMainWindow();
        break;
      default:
        break;
    }
  }
  return 0;
}

bool ParseRulerLevel(const std::string& text, double& level) {
  std::string t = Lower(text);
  const size_t d = t.find('d');
  if (d != std::string::npos) t.resize(d);
  const size_t x = t.find('x');
  if (x == std::string::npos) {
    level = ParseNumber(t);
    return true;
  }
  t.resize(x);
  const double ratio = std::fabs(ParseNumber(t));
  // A ratio of 0 has no level in dB; the ruler keeps the one it had.
  if (!(ratio > 0) || !std::isfinite(ratio)) return false;
  level = 20 * std::log10(ratio);
  return true;
}

}  // namespace vna
