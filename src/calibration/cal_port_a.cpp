#include "calibration/cal_port_a.h"

#include <cmath>
#include <string>

#include "calibration/cal_data_test.h"
#include "calibration/cal_end.h"
#include "calibration/cal_file.h"
#include "calibration/cal_limits.h"
#include "calibration/cal_passes.h"
#include "calibration/cal_port_b.h"
#include "calibration/state.h"
#include "files/init_file.h"
#include "files/settings.h"
#include "files/settings_clamp.h"
#include "files/state.h"
#include "graph/freq_grid.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/measurement_reply.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "platform/debug_out.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/scan_limits.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/number_entry.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/state.h"

namespace vna {

namespace {

const std::string kNl = "\r\n";
const char kTransmissionLine[] =
    "( If the cal load is at the end of a transmission line, this condition may be normal. )";
const char kAborted[] = "Calibration has been aborted. Previous cal data will be used.";

// The first 23 frequencies of the standard calibration, kHz.
constexpr int kStdCalKHz[23] = {5,  7,  9,  11, 13, 16, 20, 25, 30, 35, 40, 45,
                                50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100};

// Asks for one step; true for Continue.
bool Prompt(const std::string& text, int color) {
  cal_prompt = text;
  cal_prompt_color = color;
  return RunModal(dlg_calibration, &main_win) == 1;
}

bool AskYesNo(const std::string& text, const std::string& caption) {
  return MsgBox(&main_win, text, caption, kMbYesNo, kIconNone, true) == kIdYes;
}

void RelaysOn() {
  relayA = 1;
  relayB = 1;
  hw_reset_prompt = 1;
  ProgRelay(3);
}

void RelaysOff() {
  relayA = 0;
  relayB = 0;
  ProgRelay(0);
}

void FocusMain() {
  FocusForm(main_win);
  focus_win = 1;
}

void DiagPrint(int x, int y, const TextItems& items) {
  if (DIAGMODE == 0) return;
  MoveTo(main_win, x, y);
  PrintItems(main_win, items);
}

// A standard the user refused after its check: the calibration in force
// stays.
void Abort(const std::string& caption) {
  RelaysOff();
  MsgBox(&main_win, kAborted, caption, kMbOk, kIconNone, true);
  EndCal();
}

// The instrument gave no data, or a reading failed: nothing of this
// calibration is kept. Said once: not again when the link has said it.
void NoData() {
  const double at = freq;
  const int status = vna_status;
  const bool said = FailureSaidByLink(status);
  RelaysOff();
  if (!said) {
    const std::string what = status == kStatusNoDataCal
                                 ? "No data from the VNA at" + NumStr(at) + " MHz."
                                 : "The instrument failed to measure at" + NumStr(at) +
                                       " MHz (status" + NumStr(status) + ").";
    MsgBox(&main_win, what + kNl + kAborted, "  Cal Problem", kMbOk, kIconNone, true);
  }
  EndCal();
  vna_status = status;
}

// Halt during a pass: the calibration in force stays.
void Halted() {
  RelaysOff();
  EndCal();
}

void StepSizeFailure() {
  MsgBox(&main_win,
         "The step size used for cal is too large at Freq = " + NumStr(freq) + " MHz" + "." + kNl +
             " Try using a step size of about " + NumStr(0.75 * delta_freq) + " MHz",
         " Cal problem 7321", kMbOk, kIconNone, true);
  EndCal();
  vna_status = 7321;
}

// A pass that did not finish ends the calibration; true when it finished.
bool PassFinished(PassEnd end) {
  switch (end) {
    case PassEnd::kDone:
      return true;
    case PassEnd::kHalted:
      Halted();
      break;
    case PassEnd::kNoData:
      NoData();
      break;
    case PassEnd::kStepSize:
      StepSizeFailure();
      break;
  }
  return false;
}

// A calibration that ends before it measured anything.
void EndUnmeasured() {
  CalinProgress = 0;
  RestoreScanSettings();
  SUB = "";
}

// Ends every calibration that reached its prompts: the file in force is read
// back (after a save, the file just written), the averaging and the scan
// settings go back, the relays go off.
void EndSequence() {
  EndCal();
  // EndCal has already read the file; read again only what it could read.
  if (vna_status == 0 && cal_unsaved == 0) {
    file_name = cal_file_path;
    GetPortACal(0);
  }
  average = average_saved;
  AverageADC(average);
  RelaysOff();
  FocusMain();
  MoveTo(main_win, graph_left - 20, graph_top - 50);
  PrintText(main_win, "    ");
  if (PortA_cal > 1) PortA_cal = 0;
  RestoreScanSettings();
  scan_running = 0;
  CalinProgress = 0;
  SUB = "";
}

// The check reading of a standard at 0.1 MHz; false when the instrument gave
// no data (the calibration has then ended).
bool CheckReading() {
  freq = 0.1;
  if (CalReading()) return true;
  NoData();
  return false;
}

// Steps 10..19: the short circuit. False when the calibration has ended.
bool ShortStage(double& short_load, double& short_ref) {
  if (!Prompt(" Attach short circuit load to Port A", Rgb(150, 255, 150))) {
    EndSequence();
    return false;
  }
  FocusMain();
  RelaysOn();
  if (!CheckGainA()) {
    NoData();
    return false;
  }
  ReadTemperature();
  cal_temperature = temperature_F;
  DiagPrint(400, 5, {"   Temperature = ", temperature_F, "     "});
  if (!CheckReading()) return false;
  short_load = MagLoad;
  short_ref = MagRef;
  const double v = MagLoad * PortA_Sens;
  DiagPrint(100, 600, {"  short :   MagLoad= ", MagLoad, "  MagRef= ", MagRef});
  const double limit = model_uhf != 0 ? 12000 : 8000;
  if (v < limit &&
      !AskYesNo("Make sure the Port A connector is shorted." + kNl + "MagLoad=" + NumStr(v) +
                    ". It should be greater than " + NumStr(limit) + kNl + kTransmissionLine + kNl +
                    kNl + "    Do you want to use this data?",
                "  Cal Alert 26")) {
    Abort("  Cal Problem 27");
    return false;
  }
  if (model_uhf != 0)
    DiagPrint(200, 250, {" PortA Hi Gain=" + NumStr(PortA_HiGain) + "  //88232  "});
  if (!PassFinished(ShortPass())) return false;
  RelaysOff();
  return true;
}

// Steps 20..24: the open circuit.
bool OpenStage() {
  if (!Prompt(" Attach open circuit load to Port A", Rgb(255, 150, 150))) {
    EndSequence();
    return false;
  }
  RelaysOn();
  FocusMain();
  if (!CheckReading()) return false;
  const double v = MagLoad * PortA_Sens;
  DiagPrint(100, 620, {"  open  :   MagLoad= ", MagLoad, "  MagRef= ", MagRef});
  if (v > 2000 && !AskYesNo("Make sure the Port A connector is open." + kNl + "MagLoad=" +
                                NumStr(v) + ". It should be less than " + NumStr(2000) + kNl +
                                kTransmissionLine + kNl + kNl + "   Do you want to use this data?",
                            "  Cal Alert 27")) {
    Abort("  Cal Problem");
    return false;
  }
  if (!PassFinished(StandardPass(1))) return false;
  RelaysOff();
  return true;
}

// The standard resistor's value; false when the box was cancelled. A value
// that is not above 0 would scale every corrected reading to nothing, and one
// above kMaxRstd no calibration file takes back: asked again.
bool AskRstd() {
  if (Rstd < 1) Rstd = 50;
  for (;;) {
    msg_text = " Cal Standard (ohms)";
    input_value = Rstd;
    InputNumber();
    if (dlg_result != 1) return false;
    if (input_value > 0 && input_value <= kMaxRstd) {
      Rstd = input_value;
      return true;
    }
    MsgBox(&main_win,
           "The standard resistor must be more than 0 and at most" + NumStr(kMaxRstd) + " ohms.",
           " Cal Standard", kMbOk, kIconNone, true);
  }
}

// Steps 25..29: the standard resistor, which stays attached for the test.
bool StandardStage(double short_load, double short_ref) {
  const bool go_on = Prompt("              Connect a standard resistor to Port A.              ",
                            Rgb(255, 255, 120));
  cal_prompt_color = Rgb(255, 255, 255);
  if (!go_on) {
    EndSequence();
    return false;
  }
  FocusMain();
  if (!AskRstd()) {
    EndSequence();
    return false;
  }
  RelaysOn();
  if (!CheckReading()) return false;
  const double s = short_load / short_ref;
  const double r_meas = Rbridge * (MagRef * s / (MagLoad + 1) - 1);
  const double e = std::abs(r_meas - Rstd) / Rstd;
  DiagPrint(100, 640,
            {"  Rstd :  short ckt ratio =", s, "  MagLoad= ", MagLoad, "  MagRef= ", MagRef,
             " Rmeas=", r_meas, "   "});
  if (e > 0.25 && !AskYesNo("Make sure the Port A resistor is " + NumStr(Rstd) + "." + kNl +
                                "It appears to be = " + NumStr(r_meas) + " ohms." + kNl +
                                kTransmissionLine + kNl + kNl + "   Do you want to use this data?",
                            "  Cal Alert 28")) {
    Abort("  Cal Problem 28");
    return false;
  }
  return PassFinished(StandardPass(2));
}

// Step 35: the comment the file keeps. The dialog offers the calibration's
// own comment (or its parameters) rather than the graph's.
void CalComment(const std::string& parameters) {
  const std::string offered = cal_comment.size() < 2 ? parameters : cal_comment;
  const std::string graph_comment = last_comment_A;
  last_comment_A = offered;
  EnterComment();
  if (!(dlg_result == 1 && !dlg_text1.empty())) last_comment_A = graph_comment;
  cal_comment = msg_text;
}

// Steps 30..38 with the three passes done: test, Port B, comment, file.
void Finish() {
  TestCalData();
  const bool port_b = AskYesNo("  ***** DO YOU WANT TO CAL PORT B? *****", " Cal B Option ");
  PortA_cal = 1;
  cal_valid = 1;
  PortB_cal = 0;
  if (port_b) {
    if (mux_chan == 1) {
      mux_select = 1;
      ExternalPort();
    }
    CalB();
    PortB_on = 0;
  }
  ReadTemperature();
  DiagPrint(400, 120,
            {"Temperature = ", temperature_F, "  DeltaT = ", temperature_F - cal_temperature,
             "    //24832 "});
  cal_caption = " Save cal data";
  if (!Prompt(std::string("  Do you want to save the cal data") + " for Port A" +
                  (PortB_cal != 0 ? " and B?" : "?"),
              Rgb(255, 255, 255))) {
    return;
  }
  FreqDecimals();
  const std::string parameters =
      " Cal parameters:  start=" + NumStr(cal_start_freq) + "   end=" + NumStr(cal_end_freq) +
      "  delta=" + NumStr(cal_delta_freq) + "  Load=" + NumStr(Rstd) + "     ";
  MoveTo(main_win, 100, graph_bottom - 40);
  PrintText(main_win, parameters);
  CalComment(parameters);
  PortA_cal = 1;
  PortA_Gain = 1;
  PortB_Gain = 1;
  PortB_Sens = 1;
  DDSAmplitude(DDS_Amplitude);
  ProgGain();
  // Once written, the new calibration is the one in force; also when the
  // chosen file could not be written (SaveCalFile then sets cal_unsaved).
  cal_unsaved = 0;
  if (SaveCalFile() || cal_unsaved != 0) KeepCalInForce();
  WriteInitFile();
  RelaysOff();
  if (DIAGMODE == 0) {
    start_freq = cal_start_freq;
    end_freq = cal_end_freq;
    delta_freq = cal_delta_freq;
    FreqGrid();
    RedrawGraph();
  }
  CheckScanLimits();
  CloseWindow(point_win);
  pointwin_run = 0;
}

}  // namespace

void StdCalPoint(int i, double& f, double& step) {
  if (i <= 22) {
    f = kStdCalKHz[i] * 0.001;
  } else if (i == 23) {
    f = 0.15;
    step = 0.05;
  } else if (f > 199.999) {
    step = 2;
  } else if (f > 9.999) {
    step = 1;
  } else if (f > 1.999) {
    if (f < 2.04) f = 2.05;
    step = 0.2;
  }
}

double NextCalFreq(double f, double step, double end) {
  const double next = f + step;
  if (end > 10 && f < 0.9999 && next > 0.9999) return 1.05;
  return next;
}

void CalA() {
  SUB = "CalA";
  ClampSettings();
  KeepCalInForce();
  CalinProgress = 1;
  std_cal = cal_band == 0 ? 1 : 0;
  SaveScanSettings();
  DDS_Amplitude = 100;
  smoothing = 0;
  ExtensionLength = 0;
  ExtensionFlag = 0;
  if (vna_present > 0) CheckDCVoltage(Rnd(dc_volt_min), Rnd(dc_volt_max), 0);

  GetCalLimits();
  if (CalinProgress != 0) AdjustCalLimits();
  if (CalinProgress == 0) {  // cancelled, refused amplitude or empty range
    PutBackCalInForce();
    EndUnmeasured();
    vna_status = 0;
    return;
  }
  InitFreqPlan();
  SelectOsc(1);
  if (average < 4) AverageADC(4);
  if (average > 16 && AskYesNo("Averaging is set for " + NumStr(average) + kNl + kNl +
                                   "Do you want to change this value to 16x" + kNl +
                                   "to reduce the time required for calibration?",
                               " Large averaging")) {
    AverageADC(16);
  }
  tdr_mode = 0;
  SetDigits(4);
  DDSAmplitude(DDS_Amplitude);
  PortB_Gain = 1;
  PortB_Sens = 1;
  PortA_Sens = 1;
  ProgGain();
  if (vna_status > 0) {
    PutBackCalInForce();
    EndUnmeasured();
    return;
  }
  if (DIAGMODE != 0) DiagnosticFrame();
  // PortA_cal stays as it was: the tables are a mixture until all three
  // passes are done.
  PortA_title = " ";
  DrawTitle();

  cal_caption = " Calibrate Port A";
  double short_load = 0, short_ref = 0;
  if (!ShortStage(short_load, short_ref)) return;
  if (!OpenStage()) return;
  if (!StandardStage(short_load, short_ref)) return;
  Finish();
  EndSequence();
}

bool CheckGainA() {
  if (model_uhf == 0) return true;
  freq = 1;
  SetGainA(1);
  const double kept = PortA_HiGain;
  PortA_HiGain = 1;  // both readings with gain factor 1
  ReadPoint_A(128);
  const bool first_read = !ReadingFailed();
  const double r1 = MagRef;
  last_dds_amp = 0;  // the next amplitude is sent whatever it was
  SetGainA(5);
  DDSAmplitude(20);
  if (first_read) ReadPoint_A(128);
  const bool read = first_read && !ReadingFailed();
  const int status = vna_status;
  DDSAmplitude(100);
  SetGainA(1);
  if (!read) {
    // No gain was measured: the one in force stays.
    PortA_HiGain = kept;
    vna_status = status;
    return false;
  }
  PortA_HiGain = 5 * MagRef / r1;
  if (DIAGMODE != 0) {
    msg_text = "First ref=" + NumStr(r1) + "  20%ref=" + NumStr(MagRef) +
               " PortA Hi Gain=" + NumStr(PortA_HiGain);
    DiagPrint(200, 450, {msg_text, "  //88232  "});
  }
  if (PortA_HiGain > 6 || PortA_HiGain < 4) {
    std::string text = "Error reading port A gain, should be approx 5x" + kNl;
    if (DIAGMODE != 0) text += msg_text;
    MsgBox(&main_win, text, " 92213", kMbOk, kIconNone, true);
    DebugOutput(text);
  }
  return true;
}

int CalibrationHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_calibration);
    SetCtlColors(dlg_calibration, 3, Black, cal_prompt_color);
    if (!cal_caption.empty()) SetTitle(dlg_calibration, cal_caption);
    SetCtlFont(dlg_calibration, 3, "arial", font_size + 2, 600);
    while (cal_prompt.size() < 60) cal_prompt = " " + cal_prompt + " ";
    SetCtlText(dlg_calibration, 3, cal_prompt);
  } else if (msg_id == kEvCommand && msg_ctl_id == 1) {
    CloseDialog(dlg_calibration, 1);
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    CloseDialog(dlg_calibration, 2);
    FocusMain();
  }
  return 0;
}

}  // namespace vna
