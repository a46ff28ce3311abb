#include "tools/distance_to_fault.h"

#include <algorithm>
#include <cmath>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/ui.h"
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

constexpr double kLongCable =
    6;  // MHz: a lower quarter-wave frequency is refined by two more searches

void RelaysOff() {
  relayA = 0;
  relayB = 0;
  ProgRelay(0);
}

void CannotMeasure(int status) {
  RelaysOff();
  SetWaitCursor(false);
  if (status == kStatusNoCrossing) {
    MsgBox(&main_win, "Distance to Fault cannot be measured\rError = " + NumStr(status), "", kMbOk,
           kIconNone, true);
  } else {
    SayReadingFailed(status, "", "Distance to Fault cannot be measured.");
  }
  vna_status = status;
}

// The boxes take the key and mouse releases.
void EndTool() {
  SetWaitCursor(false);
  FocusMainWindow();
  focus_win = 1;
  lbutton_down = ctrl_key_down = shift_key_down = 0;
}

}  // namespace

double EnteredVelocityFactor(const std::string& text) {
  double vf = std::fabs(ParseNumber(text));
  if (vf > 1) vf = 1;
  if (vf < 0.5) vf = 0.66;
  return vf;
}

int VelocityFactorHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_velocity_factor);
    SetCtlText(dlg_velocity_factor, 1, " " + NumStr(VF));
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    dlg_text1 = GetCtlText(dlg_velocity_factor, 1);
    CloseDialog(dlg_velocity_factor, 1);
  }
  return 0;
}

void DistanceToFaultCheck() {
  if (cal_end_freq < 0.9 * maximumfreq || cal_start_freq > 0.05) {
    MsgBox(&main_win,
           "The Distance to Fault function requires Cal Data over\rthe range of 0.05 to " +
               NumStr(maximumfreq) + " MHz.\r\nThis file only covers " + NumStr(cal_start_freq) +
               " to " + NumStr(cal_end_freq) +
               " MHz.\r\n\r\nPlease load a cal file with a wider range.",
           " Standard cal required", kMbOk, kIconExclamation, false);
    return;
  }
  const double start = start_freq, end = end_freq, delta = delta_freq;
  const int saved_interpolate = interpolate, saved_average = average;
  start_freq = 0.2;
  end_freq = 180;
  delta_freq = 0.2;
  interpolate = 1;
  vna_status = 0;  // a tool ended before measuring leaves no earlier failure
  DistanceToFault();
  start_freq = start;
  end_freq = end;
  delta_freq = delta;
  interpolate = saved_interpolate;
  RestoreAveraging(saved_average);  // the measurement's status stays
}

void DistanceToFault() {
  if (MsgBox(&main_win,
             "This measurement assumes a uniform cable is open or shorted.\r"
             "Min cable length approx 1 meter (3 feet).\rMax cable length approx 1000 meters.",
             "Distance to Fault", kMbOkCancel, kIconInformation, false) != kIdOk) {
    EndTool();
    return;
  }
  ref_to_antenna = 0;
  if (RunModal(dlg_velocity_factor, &main_win) != 1) {
    EndTool();
    return;
  }
  VF = EnteredVelocityFactor(dlg_text1);

  SetWaitCursor(true);
  freq = 1;
  AverageADC(4);
  relayA = 1;
  relayB = 1;
  ProgRelay(3);
  Send_Freq(0);
  FocusMainWindow();
  if (ReadingFailed()) {
    CannotMeasure(vna_status);
    EndTool();
    return;
  }

  FindPhaseCrossing(1, maximumfreq, 0.005, 1);
  if (vna_status > 0) {
    CannotMeasure(vna_status);
    EndTool();
    return;
  }
  double f90 = freq, fz = f90 / 2;
  if (search_max_phase * 57.296 < 45) {
    RelaysOff();
    MsgBox(&main_win,
           "Cable seems to be lossy or it is terminated in a load.  Maximum phase = " +
               NumStr(search_max_phase * 57.296) + " deg.\rIt should be closer to 90 deg.",
           " Lossy Cable", kMbOk, kIconNone, true);
    EndTool();
    return;
  }
  // A long cable: the quarter wave is found again as half the distance
  // between the first and the third crossing, which the low frequency of
  // the first one alone measures too coarsely.
  if (f90 < kLongCable) {
    const double f1 = f90;
    FindPhaseCrossing(f1 + (f1 - 1) / 2, 4 * f1, std::max(0.01 * (f1 - 1), 0.005), 1);
    if (vna_status > 0) {
      CannotMeasure(vna_status);
      EndTool();
      return;
    }
    const double f2 = freq;
    FindPhaseCrossing(f2 + (f2 - f1) / 2, f2 + 5 * (f2 - f1), 0.01 * (f2 - f1), 1);
    if (vna_status > 0) {
      CannotMeasure(vna_status);
      EndTool();
      return;
    }
    const double f3 = freq;
    f90 = (f3 - f1) / 2;
    fz = (f2 + f3) / 2;
  }

  freq_single = static_cast<float>(f90);
  const double d_m = VF * 299.8 / f90 * 0.25;
  const double d_ft = d_m * 3.2808;
  if (f90 < 10) SetDigits(4);
  std::string text = " Distance to fault = " + NumStr(d_m) + " meters  = " + NumStr(d_ft) +
                     " feet\rQuarter wavelength (90 deg) = " + NumStr(freq_single) + " MHz";

  // |Z| of a loss-free open or shorted line is Zo where it is an eighth wave long.
  freq = fz;
  MeasureAtFreq();
  if (ReadingFailed()) {
    CannotMeasure(vna_status);
    EndTool();
    return;
  }
  PlotDebugPoint(freq, Zphase, 2, 8, Blue);
  RelaysOff();
  const double zo = std::sqrt(point_Rs * point_Rs + point_Xs * point_Xs);
  SetDigits(3);
  text += "\rZo = " + NumStr(zo) + " ohms ";
  MsgBox(&main_win, text, " Distance to Fault", kMbOk, kIconNone, true);
  EndTool();
}

}  // namespace vna
