// Setup entries of every mode: settling time, averaging, Zref, recycle depth,
// the serial port, voice output and the graph comment.
#include "files/tdr_file.h"
#include "shell/setup_dialogs.h"

#include <cmath>
#include <cstdlib>

#include "files/settings.h"
#include "files/state.h"
#include "graph/graph_frame.h"
#include "graph/info_panel.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/serial.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

// The info-panel button of the setting being edited stands out until the
// info panel redraws it.
void TintInfoButton(int id) {
  SetCtlColors(main_win, id, Black, btn_hilite);
}

// The averaging counts offered in the list, in this order.
constexpr const char* kAverageChoices[] = {"0", "2", "4", "8", "16", "32", "64", "128", "256"};

// The text of a complex reference: the resistance alone while the reactance
// is negligible.
std::string ImpedanceText(double r, double x) {
  if (std::fabs(x) < 0.001) return " " + NumStr(r);
  std::string text = "  " + NumStr(r);
  text += x > 0 ? " + j" + NumStr(x) : " - j" + NumStr(std::fabs(x));
  return text;
}

void StepZref(double delta) {
  Zref += delta;
  if (delta < 0 && Zref < 1) Zref = 1;
  SetCtlText(dlg_cable_zo, 1, NumStr(Zref));
  RedrawGraph();
}

// Takes the accepted Zref text: resistance and reactance, with the Smith
// chart's reference following when it was the old Zref.
void ApplyZref(const std::string& text) {
  msg_text = text;
  ParseComplexZ();
  double x = input_imag;
  const bool follow = (std::fabs(Z0imag - Zsm_imag) + std::fabs(Z0real - Zsm_real)) < 0.00001;
  Z0real = std::fabs(input_value);
  if (Z0real < min_Zref) {
    MsgBox(&main_win,
           "Caution: Zref is less than " + NumStr(min_Zref) +
               "  ohms.\rIt will be set to 50.0 ohm by default.",
           "", kMbOk, kIconNone, true);
    Z0real = 50;
    x = 0;
  }
  Zref = Z0real;
  if (std::fabs(x) > 10) x = 0;  // a reactance beyond +-10 ohms is dropped
  Z0imag = x;
  if (follow) {
    Zsm_real = Zref;
    Zsm_imag = Z0imag;
  }
}

}  // namespace

void EnterDDSdelay() {
  TintInfoButton(kInfoSettling);
  input_value = DDSdelay;
  msg_text = "DDS Settling Time (msec)";
  InputNumber();
  if (dlg_result != 2) {
    DDSdelay = Rnd(input_value);
    if (DDSdelay < 1) DDSdelay = 1;
    if (DDSdelay > 31) DDSdelay = 31;
  }
  InfoPanel(2);
}

void EnterAverage() {
  TintInfoButton(kInfoAverage);
  RunModal(dlg_average, &main_win);
  if (dlg_result == 1) {
    int n = Rnd(std::fabs(ParseNumber(dlg_text1)));
    if (n < 1) n = 1;
    // The instrument averages at most 256 readings and takes any larger
    // count as 1, which would switch averaging off: keep to the title's range.
    if (n > 256) n = 256;
    average = n;
    shown_average = -1;
  }
  AverageADC(average);  // also after a cancel
  InfoPanel(1);
  FocusMainWindow();
}

int AverageHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_average);
    ComboClear(dlg_average, 1);
    for (const char* choice : kAverageChoices) ComboAdd(dlg_average, 1, choice);
    SetCtlText(dlg_average, 1, NumStr(average));
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    dlg_text1 = GetCtlText(dlg_average, 1);
    CloseDialog(dlg_average, 1);
  } else if (msg_id == kEvCommand && msg_ctl_id == 3) {
    CloseDialog(dlg_average, 2);
  }
  return 0;
}

void EnterZref() {
  TintInfoButton(kInfoZref);
  msg_text = " Zref";
  input_value = Z0real;
  input_imag = Z0imag;
  RunModal(dlg_cable_zo, &main_win);
  if (dlg_result == 1 && !dlg_text1.empty()) ApplyZref(dlg_text1);
  FocusMainWindow();
}

int CableZoHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_cable_zo);
    SetTitle(dlg_cable_zo, msg_text);
    SetCtlText(dlg_cable_zo, 1, ImpedanceText(input_value, input_imag));
  } else if (msg_id == kEvCommand) {
    // The steps act at once and stay, whatever closes the dialog.
    switch (msg_ctl_id) {
      case 2:
        dlg_text1 = GetCtlText(dlg_cable_zo, 1);
        CloseDialog(dlg_cable_zo, 1);
        break;
      case 4:
        StepZref(1);
        break;
      case 5:
        StepZref(-1);
        break;
      case 6:
        StepZref(0.1);
        break;
      case 7:
        StepZref(-0.1);
        break;
      default:
        break;
    }
  }
  return 0;
}

void EnterRecycleDepth() {
  msg_text = " Recycle Depth (1..N=Clear screen after N cycles,  [0=Don't clear screen]) ";
  input_value = Recycle_depth;
  InputNumber();
  if (dlg_result == 1) {
    recycle_count = Rnd(input_value + 2);
    Recycle_depth = Rnd(input_value);
  }
}

void EnterCommPort() {
  RunModal(dlg_comm_port, &main_win);
  if (dlg_result == 1 && !dlg_text1.empty()) {
    const int n = std::abs(Rnd(ParseNumber(dlg_text1)));
    if (n < 1 || n > 255) {
      MsgBox(&main_win, "Comm port must be between 1 and 255", "", kMbOk, kIconNone, true);
    } else {
      commport = n;
      SerialClose(hcom);
      hcom = kInvalidPort;
      // Demonstration mode is left when the port now answers (the box that
      // says the VNA is not responding sends the user here).
      if (vna_present == 0) {
        TakeInstrument();
      } else {
        CheckComm();
        // Another instrument at the new port (another model, another unit
        // with its own clocks) is met as a new one: identified, set up and
        // given the named calibration anew.
        if (vna_status == 0 && msg_text != identified_reply) TakeInstrument();
      }
    }
  }
  DrawGraph();
  FocusMainWindow();
}

int CommPortHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_comm_port);
    SetCtlText(dlg_comm_port, 1, " " + NumStr(commport));
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    dlg_text1 = GetCtlText(dlg_comm_port, 1);
    CloseDialog(dlg_comm_port, 1);
  }
  return 0;
}

void ToggleVoice() {
  voice = 1 - voice;
  FocusMainWindow();
}

void EnterComment() {
  if (tdr_mode != 0) {
    msg_text = tdr_title;
  } else {
    msg_text = PortB_on != 0 ? last_comment_B : last_comment_A;
  }
  RunModal(dlg_comment, &main_win);
  if (dlg_result == 1 && !dlg_text1.empty()) {
    msg_text = dlg_text1;
    if (tdr_mode != 0) {
      tdr_title = msg_text;
      tdr_graph_title = msg_text;
      DrawTitle();
      file_name = "last_VNATDR_file.tdr";
      SaveTDR(1);
    } else if (PortB_on != 0) {
      PortB_title = msg_text;
      last_comment_B = msg_text;
      DrawTitle();
    } else {
      PortA_title = msg_text;
      last_comment_A = msg_text;
      DrawTitle();
    }
  }
  FocusMainWindow();
}

int CommentHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_comment);
    SetCtlText(dlg_comment, 1, msg_text);
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    dlg_text1 = GetCtlText(dlg_comment, 1);
    CloseDialog(dlg_comment, 1);
    FocusMainWindow();
  }
  return 0;
}

}  // namespace vna
