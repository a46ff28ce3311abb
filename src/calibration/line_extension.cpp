#include "calibration/line_extension.h"

#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/letter_case.h"
#include "files/settings.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

// What the dialog opens with: length in centimetres, impedance, velocity factor.
double shown_length_cm = 0, shown_z0 = 0, shown_vf = 0;

// Metres per unit of a typed length: centimetres unless the text says
// otherwise. Later rules win, so "10 centimeters" (c and i) is inches.
double LengthUnit(const std::string& lower) {
  double u = 0.01;
  if (lower.find('m') != std::string::npos && lower.find('c') == std::string::npos) u = 1;
  if (lower.find('"') != std::string::npos || lower.find('i') != std::string::npos) u = 0.0254;
  if (lower.find('\'') != std::string::npos || lower.find('f') != std::string::npos) u = 0.3048;
  return u;
}

void DrawExtensionNotice() {
  MoveTo(main_win, graph_right + Rnd(60 * win_xscale), line1_y + 18);
  if (std::fabs(ExtensionLength) < 0.000001) ExtensionFlag = 0;
  if (ExtensionFlag == 1) {
    SetTextColor(main_win, Magenta);
    SetDigits(2);
    PrintText(main_win, "Extension=" + NumStr(ExtensionLength * 100) + "cm");
    SetDigits(3);
    SetTextColor(main_win, Black);
  } else {
    PrintText(main_win, std::string(28, ' '));
  }
}

}  // namespace

double LinePhasePerMHz(double length_m, double velocity_factor) {
  return 2 * pi * length_m / (velocity_factor * 299.8);
}

void SetLineExtension() {
  SetCtlColors(main_win, kInfoExtension, Black, btn_hilite);
  shown_length_cm = ExtensionLength * 100;
  shown_z0 = Zextension;
  shown_vf = ExtensionVP;
  RunModal(dlg_line_ext, &main_win);
  if (dlg_result == 1) {
    const std::string t = LowerCase(dlg_text1);
    ExtensionLength = LengthUnit(t) * ParseNumber(t);
    Zextension = std::fabs(ParseNumber(dlg_text2));
    if (Zextension < 1 || Zextension > 1000) Zextension = 50;
    ExtensionVP = std::fabs(ParseNumber(dlg_text3));
    if (ExtensionVP > 1) ExtensionVP = 1;
    if (ExtensionVP < 0.5) ExtensionVP = 0.5;
    ext_phase_per_MHz = LinePhasePerMHz(ExtensionLength, ExtensionVP);
  }
  DrawExtensionNotice();
}

int LineExtensionHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_line_ext);
    SetCtlText(dlg_line_ext, 6, NumStr(shown_length_cm));
    SetCtlText(dlg_line_ext, 7, NumStr(shown_z0));
    SetCtlText(dlg_line_ext, 8, NumStr(shown_vf));
  } else if (msg_id == kEvCommand && (msg_ctl_id == 2 || msg_ctl_id == 9)) {
    dlg_text1 = GetCtlText(dlg_line_ext, 6);
    dlg_text2 = GetCtlText(dlg_line_ext, 7);
    dlg_text3 = GetCtlText(dlg_line_ext, 8);
    ExtensionFlag = msg_ctl_id == 2 ? 1 : 0;
    CloseDialog(dlg_line_ext, 1);
    FocusMainWindow();
  }
  return 0;
}

int CableDataHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_cable_data);
    SetCtlText(dlg_cable_data, 1, cable_length_text);
    SetCtlText(dlg_cable_data, 2, cable_loss_text);
    SetCtlText(dlg_cable_data, 3, NumStr(Z0real));
    SetCtlText(dlg_cable_data, 4, NumStr(VF));
  } else if (msg_id == kEvCommand && msg_ctl_id == 10) {
    dlg_text1 = GetCtlText(dlg_cable_data, 1);
    dlg_text2 = GetCtlText(dlg_cable_data, 2);
    dlg_text3 = GetCtlText(dlg_cable_data, 3);
    dlg_text4 = GetCtlText(dlg_cable_data, 4);
    CloseDialog(dlg_cable_data, 1);
    FocusMainWindow();
  } else if (msg_id == kEvCommand && msg_ctl_id == 11) {
    CloseDialog(dlg_cable_data, 2);
    FocusMainWindow();
  }
  return 0;
}

}  // namespace vna
