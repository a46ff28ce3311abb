#include "calibration/freq_cal.h"

#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr double kTolerance = 0.002;  // MHz between the output and the reference

bool CloseEnough(double reference) {
  if (std::fabs(freq - reference) < kTolerance) return true;
  MsgBox(&main_win, "Present frequency is not close enough for calibration (+/-2KHz tolerance)",
         " Freq Cal", kMbOk, kIconNone, true);
  return false;
}

// factor: the factor of the last oscillator calibrated.
void Report(double reference, double factor) {
  freq = reference;
  const_freq_prev = reference;
  freqcal_ref = reference;
  SetCtlText(dlg_const_freq, 1, "  " + FormatUsing("###.#######", {reference}));
  const double ppm = (factor - 1) * 1000000;
  MsgBox(&main_win,
         "Freq Calibration is complete.\r\rCompensation Factor = " +
             FormatUsing("#.#########", {factor}) + "  (" + FormatUsing("##.##", {ppm}) + " ppm)",
         " Freq Cal", kMbOk, kIconNone, true);
}

// Steps 2 to 7; true when every oscillator was calibrated.
bool Calibrate() {
  CalinProgress = 1;
  osc_manual = 1;
  SelectOsc(1);
  if (freq < 1) freq = 1;
  Send_Freq(1);
  const std::string nl = "\r\n";
  MsgBox(&main_win,
         "Use the buttons on the Constant Freq dialog box" + nl +
             "to adjust the VNA freq to the reference frequency." + nl + nl +
             "  Click OK on this message box when it is set",
         std::string(" Adjust freq") + (two_osc != 0 ? ", step 1" : ""), kMbOk, kIconNone, true);
  msg_text = " Enter Standard (Reference) Frequency (MHz)";
  input_value = freqcal_ref;
  InputNumber();
  if (dlg_result != 1) return false;
  const double reference = input_scale * input_value;
  if (!CloseEnough(reference)) return false;
  freq_comp1 = freq_comp1 * freq / reference;
  freq_comp = freq_comp1;
  bool done = true;
  if (two_osc != 0) {
    SelectOsc(2);
    Send_Freq(1);
    const int answer = MsgBox(&main_win,
                              "Frequency cal, Step 2:" + nl +
                                  "Adjust the VNA freq to the reference frequency (or zero beat)" +
                                  nl + nl + "Then click OK on this message box",
                              " Freq cal, step 2", kMbOkCancel, kIconNone, true);
    done = answer == kIdOk && CloseEnough(reference);
    if (done) {
      freq_comp2 = freq_comp2 * freq / reference;
      freq_comp = freq_comp2;
    }
  }
  Report(reference, done && two_osc != 0 ? freq_comp2 : freq_comp1);
  return done;
}

}  // namespace

void FreqCal() {
  bool done = false;
  const int answer = MsgBox(&main_win, "Do you want to calibrate the frequency ?", " Freq Cal",
                            kMbYesNo, kIconNone, true);
  if (answer == kIdYes) {
    done = Calibrate();
    CalinProgress = 0;
    osc_manual = 0;
  }
  if (!done) {
    MsgBox(&main_win, "Freq Calibration was not done", " Freq Cal", kMbOk, kIconNone, true);
  }
}

}  // namespace vna
