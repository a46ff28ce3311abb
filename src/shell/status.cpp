#include "shell/status.h"

#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "instrument/version.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/point_win.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr int kRowX = 5;

void Row(int y, const TextItems& items) {
  MoveTo(point_win, kRowX, y);
  PrintItems(point_win, items);
}

const char* Sensitivity() {
  return PortB_Sens == 2 ? " high sensitivity" : " low sensitivity";
}

void PrintRows() {
  Row(10, {model_uhf != 0 ? "Model = " + model : "Model = VNA" + model});
  Row(50, {"Maximum Frequency =" + NumStr(maximumfreq)});
  Row(70, {"Cursor Freq=" + FormatUsing("####.######", {cursor_freq})});
  Row(90, {"Averaging=" + NumStr(average)});
  Row(110, {"Settling Time=" + NumStr(DDSdelay) + " msec"});
  Row(130, {"Smoothing= ", smoothing, " auto= ", smooth_auto, " manual= ", smooth_man});
  Row(150, {"Graph Window: width= ", WinWidth - WinLeft, "   height= ", WinHeight - WinTop});
  Row(170,
      {"Graph Plot:   width= ", graph_right - graph_left, "   height= ", graph_bottom - graph_top});
  // The shared number scratch values carry the factor and its ppm.
  input_value = freq_comp;
  input_imag = (freq_comp - 1) * 1e6;
  Row(190, {"Freq Compensation= " + FormatUsing("#.########", {input_value}) + " = " +
            FormatUsing("##.##", {input_imag}) + " ppm"});

  int a = 210;
  if (delay_smoothing != 0) {
    Row(210, {"Delay Smoothing=" + NumStr(std::abs(delay_smoothing)) +
              (delay_smoothing < 0 ? " percent " : " samples ")});
    a = 230;
  }
  Row(a, {"Port A Amplitude=" + NumStr(DDS_Amplitude) + " percent"});
  MoveTo(point_win, kRowX, a + 40);
  if (model_uhf == 0)
    PrintItems(point_win,
               {"PortB RF gain = ", NumStr(12 * PortB_Sens - 24) + "dB " + Sensitivity(), "  "});
  if (DIAGMODE != 0)
    PrintItems(point_win, {" AF gain = ", NumStr(14 * PortB_Gain - 14) + "dB", "     "});
  Row(a + 60, {"Ruler 1 = ", ruler_1, std::string(" dB") + (ruler1_on != 0 ? " Enabled" : "")});
  Row(a + 80, {"Ruler 2 = ", ruler_2, std::string(" dB") + (ruler2_on != 0 ? " Enabled" : "")});
  Row(a + 100,
      {"Line Extension=" + NumStr(ExtensionLength * 100) + " cm    Z=" + NumStr(Zextension) +
       " ohms     VF=" + NumStr(ExtensionVP) + (ExtensionFlag != 0 ? "  Enabled" : "  Disabled")});

  int b = a + 120;
  if (vna_present != 0) {
    GetBattV();
    SetDigits(2);
    Row(a + 120,
        {"DC Input Voltage=", dc_voltage, "    min Voltage since power-up = ", min_dc_voltage});
    SetDigits(3);
    b = a + 140;
  }
  Row(b, {"Zref=" + NumStr(Z0real) + (Z0imag >= 0 ? " +" : " ") + NumStr(Z0imag) + "j"});
  Row(b + 20, {"Velocity Factor=" + NumStr(VF)});
  Row(b + 60, {std::string("Port A is ") + (PortA_cal != 0 ? "" : "not ") + "calibrated"});
  Row(b + 80, {std::string("Port B is ") + (PortB_cal != 0 ? "" : "not ") + "calibrated"});
  Row(b + 120, {"Cal File = " + cal_file_name});
  Row(b + 140, {"Cal Date = " + cal_date});
  Row(b + 160, {"Cal Comment = " + cal_comment});
  Row(b + 180, {"Prog used to make cal file = " + cal_prog_version});
  Row(b + 220, {Sensitivity()});
  Row(b + 240, {"Cal start freq=", NumStr(cal_start_freq)});
  Row(b + 260, {"Cal end freq =", NumStr(cal_end_freq)});
  Row(b + 280, {"Cal delta freq=", NumStr(cal_delta_freq)});
  Row(b + 310,
      {full_current_mode != 0 ? "Low current mode is not enabled" : "Low current mode is enabled"});
  Row(b + 340, {"Config file=" + config_file_name});
  Row(b + 360, {"Cal folder=" + cal_folder});
  Row(b + 380, {"Config folder=" + config_folder});
  Row(b + 400, {"Scan folder=" + scan_folder});
  Row(b + 420, {"Picture folder=" + bmp_folder});
  Row(b + 440, {"Config file version=" + NumStr(config_version)});
  if (DIAGMODE != 0) {
    SetDigits(6);
    Row(b + 480, {"Myvar1=" + NumStr(MyVar1)});
    Row(b + 500, {"Myvar2=" + NumStr(MyVar2)});
    Row(b + 520, {"Myvar3=" + NumStr(MyVar3)});
    Row(b + 540, {"Myvar4=" + NumStr(MyVar4)});
    SetDigits(3);
  }
}

}  // namespace

void ShowStatus() {
  if (pointwin_run == 0) {
    OpenWindow(point_win, 0, 0, WinWidth, WinHeight + 150,
               kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax | kWinTopmost, " Status",
               PointWinHandler);
    pointwin_run = 1;
  }
  FocusForm(point_win);
  focus_win = 3;
  PrintRows();
  // Keys typed in the window and the main window's commands keep working;
  // a second "Status" prints afresh into this window and waits in turn.
  while (pointwin_run != 0 && main_loop_on != 0) WaitEvents();
  CloseWindow(point_win);
  FocusForm(main_win);
  focus_win = 1;
}

void ShowAbout() {
  GetVersion(1);
  msg_text = " Controller: " + msg_text;
  if (comm_ok < 1) msg_text = " DEMO MODE ";
  dlg_result = RunModal(dlg_about, &main_win);
  FocusForm(main_win);
  focus_win = 1;
}

}  // namespace vna
