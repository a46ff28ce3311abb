#include "calibration/cal_limits.h"

#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/freq_grid.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/debug_out.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/menus.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

// The frequency a field holds: MHz, or kHz with a "k"; the sign is dropped.
double FieldFrequency(const std::string& text) {
  msg_text = text;
  ParseKSuffix();
  return input_scale * std::abs(ParseNumber(msg_text));
}

bool AskYesNo(const std::string& text, const std::string& caption) {
  return MsgBox(&main_win, text, caption, kMbYesNo, kIconNone, true) == kIdYes;
}

void RefuseEmptyRange() {
  MsgBox(&main_win,
         "Start and stop frequencies must differ and lie within" + NumStr(min_freq) + " to" +
             NumStr(maximumfreq) + " MHz." + "\r\n" + "Start =" + NumStr(cal_start_freq) +
             " MHz    Stop =" + NumStr(cal_end_freq) + " MHz",
         " Cal limits", kMbOk, kIconNone, true);
  CalinProgress = 0;
  vna_status = 3814;
}

}  // namespace

void GetCalLimits() {
  vna_status = 0;
  if (std_cal != 0) return;
  msg_text.clear();
  if (RunModal(dlg_cal_limits, &main_win) != 1) {
    CalinProgress = 0;
    vna_status = 3812;
    return;
  }
  // Each field is read before the next is parsed: the parser works in msg_text.
  cal_start_freq = FieldFrequency(dlg_text1);
  cal_end_freq = FieldFrequency(dlg_text2);
  cal_delta_freq = FieldFrequency(dlg_text3);
  step_text = dlg_text3;
  if (cal_end_freq < cal_start_freq) std::swap(cal_start_freq, cal_end_freq);

  std::string amplitude = dlg_text4;
  if (const size_t p = amplitude.find('%'); p != std::string::npos) amplitude.resize(p);
  double a = std::abs(ParseNumber(amplitude));
  if (a < 5) {
    if (!AskYesNo(std::string("The DDS amplitude cannot be less than 5 percent of full scale.") +
                      "\r\r" + "It has been set to 5 percent." + "\r\r" +
                      "Do you want to continue?",
                  " Amplitude Too Low")) {
      vna_status = 3810;
      CalinProgress = 0;
      return;
    }
    a = 5;
  }
  if (a > 4.9) DDS_Amplitude = a > 100 ? 100 : a;
  average = Rnd(std::abs(ParseNumber(dlg_text5)));
  AverageADC(average);
}

void AdjustCalLimits() {
  std::string m;
  // The first adjustment found is the one the user is told.
  auto tell = [&m](const std::string& text) {
    if (m.size() < 3) m = text;
  };
  if (cal_delta_freq < 0.0001) {
    cal_delta_freq = 0.0001;
    tell("Delta freq has been set to 0.1KHz");
  }
  if (cal_delta_freq > 2) {
    cal_delta_freq = 2;
    tell("Delta freq has been set to 2 MHz");
  }
  const double q = (cal_end_freq - cal_start_freq) / 20;
  if (cal_delta_freq > q) {
    cal_delta_freq = q;
    tell("Delta freq has been set to " + NumStr(q) + " MHz");
  }
  if (cal_end_freq > maximumfreq) cal_end_freq = maximumfreq;
  if (std_cal == 0 && cal_delta_freq > 0 &&
      (cal_end_freq - cal_start_freq) / cal_delta_freq > kMaxCalSteps) {
    cal_delta_freq = (cal_end_freq - cal_start_freq) / kMaxCalSteps;
    tell("Delta freq has been set to " + NumStr(cal_delta_freq) + " MHz");
  }
  if (cal_start_freq < min_freq) {
    cal_start_freq = min_freq;
    tell("Start freq has been set to " + NumStr(cal_start_freq) + " MHz");
  }
  // A range without width would never reach its end.
  if (!(cal_end_freq > cal_start_freq) || !(cal_delta_freq > 0)) {
    RefuseEmptyRange();
    return;
  }
  if (PortA_Sens == 1 && DDS_Amplitude < 100) {
    const std::string text =
        std::string("When using Low Sensitivity, 100% full amplitude is recommended") + "\r\r" +
        "Do you want to set the amplitude to 100%?";
    DebugOutput(text);
    if (AskYesNo(text, " Full Amplitude")) DDS_Amplitude = 100;
  }
  start_freq = cal_start_freq;
  end_freq = cal_end_freq;
  delta_freq = cal_delta_freq;
  double* band[4][3] = {{&BCcalStart, &BCcalEnd, &BCcalDelta},
                        {&HFcalStart, &HFcalEnd, &HFcalDelta},
                        {&VHFcalStart, &VHFcalEnd, &VHFcalDelta},
                        {&UHFcalStart, &UHFcalEnd, &UHFcalDelta}};
  if (cal_band >= 1 && cal_band <= 4) {
    *band[cal_band - 1][0] = cal_start_freq;
    *band[cal_band - 1][1] = cal_end_freq;
    *band[cal_band - 1][2] = cal_delta_freq;
  }
  BuildMenus();
  if (m.size() > 3) MsgBox(&main_win, m, " Cal limits have been adjusted", kMbOk, kIconNone, true);
  vna_status = 0;
}

int CalLimitsHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_cal_limits);
    // An empty caption keeps the dialog's own title.
    if (!msg_text.empty()) SetTitle(dlg_cal_limits, msg_text);
    SetCtlText(dlg_cal_limits, 2, NumStr(cal_start_freq));
    SetCtlText(dlg_cal_limits, 3, NumStr(cal_end_freq));
    FreqDecimals();
    SetCtlText(dlg_cal_limits, 4, NumStr(cal_delta_freq));
    SetDigits(1);
    SetCtlText(dlg_cal_limits, 5, NumStr(DDS_Amplitude));
    SetCtlText(dlg_cal_limits, 21, NumStr(average));
    SetDigits(3);
    for (int id : {22, 12})
      AddToolTip(dlg_cal_limits, id, " Port A Driver output amplitude (percent)  ");
    for (int id : {23, 24})
      AddToolTip(dlg_cal_limits, id, " Readings to average per cal point. (4x typical)");
  } else if (msg_id == kEvCommand && msg_ctl_id == 7) {
    dlg_text1 = GetCtlText(dlg_cal_limits, 2);
    dlg_text2 = GetCtlText(dlg_cal_limits, 3);
    dlg_text3 = GetCtlText(dlg_cal_limits, 4);
    dlg_text4 = GetCtlText(dlg_cal_limits, 5);
    dlg_text5 = GetCtlText(dlg_cal_limits, 21);
    CloseDialog(dlg_cal_limits, 1);
    FocusForm(main_win);
    focus_win = 1;
  } else if (msg_id == kEvCommand && msg_ctl_id == 8) {
    CloseDialog(dlg_cal_limits, 2);
    FocusForm(main_win);
    focus_win = 1;
  }
  return 0;
}

}  // namespace vna
