#include "calibration/cal_port_b.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calibration/cal_end.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/settings_clamp.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/info_panel.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/group_delay.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/state.h"

namespace vna {

namespace {

const std::string kCr = "\r";
const std::string kNl = "\r\n";

// What CalB keeps from its start to put back.
struct Saved {
  int diagmode = 0, average = 0, b_sens = 1, a_sens = 1, b_gain = 1, a_gain = 1;
  double amplitude = 100;
  double rng_gain[6] = {}, rng[6] = {};
};

// How a stage of the calibration ended.
enum class End { kGoOn, kHalted, kNoRef, kWeak };

void RelaysOff() {
  relayA = 0;
  relayB = 0;
  ProgRelay(0);
}

// One raw Port B reading at freq with the gain step's factor left out: the
// load level per unit of drive (the amplitude code sent, so that the
// drive's rounding to a code drops out of every gain) and the phase of the
// load against the reference. A reading the instrument failed measures
// nothing.
struct RangeRead {
  double load = 0, per_drive = 0, phase = 0;
};

RangeRead RangeReading(int gain, double amplitude_percent, bool amplitude_first) {
  if (amplitude_first) DDSAmplitude(amplitude_percent);
  PortB_Gain = gain;
  ProgGain();
  if (!amplitude_first) DDSAmplitude(amplitude_percent);
  gain_factor_B = 1;
  ReadPoint_B(0);
  const int code = AmplitudeCode(amplitude_percent);
  if (vna_status != 0 || code < 1) return {};
  return {MagLoad, MagLoad / code, Delta_Phase};
}

// Gain of a reading against another, 0 when either measured nothing.
double GainOf(const RangeRead& r, const RangeRead& base) {
  const double g = base.per_drive > 0 ? r.per_drive / base.per_drive : 0;
  return std::isfinite(g) ? g : 0;
}

void DiagDot(int y, int color) {
  const int x = Rnd(graph_left + (freq - graph_start) * px_per_MHz);
  y = std::clamp(y, graph_top, graph_bottom);
  SetPen(main_win, color);
  DrawCircle(main_win, x, y, 2);
}

void DiagLabel(const std::string& text, int color, int y) {
  const int x = Rnd(graph_left + (freq - graph_start) * px_per_MHz) + 10;
  SetTextColor(main_win, color);
  MoveTo(main_win, x, std::clamp(y, graph_top, graph_bottom));
  PrintText(main_win, text);
  SetTextColor(main_win, Black);
}

class PortBCal {
 public:
  void Run();

 private:
  bool Start();
  void GainRanges();
  End LowPass();
  End HighPass();
  void NormalEnd();
  void ExitHalted();
  void ExitNoRef(const std::string& line);
  void ExitWeak();
  void Failed();
  // After a reading: Halt and the reference signal.
  End Checked(const std::string& noref_line);
  // After a reading: true when it failed, which fails the calibration
  // (instrument status error) unless an error is recorded already.
  bool ReadingFailedHere();
  void ProgressLine(int index, const std::string& gap, double ratio, double phase);

  Saved sv_;
  std::string error_text_;
  bool said_by_link_ = false;  // the failed reading's box was the link's own
  int failed_status_ = 0;      // the status of the reading that failed
  // Phase continuity across the passes.
  double prev_phase_ = 0;
  bool low_measured_ = false, low_reached_1_ = false;
  double low_dp1_ = 0;
  // Diagnostic plot: ratio and load level at record 1 of the pass.
  double diag_ratio1_ = 0, diag_load1_ = 0;
};

bool PortBCal::Start() {
  if (monitor_trace != 0) SUB = "CalB";
  ClampSettings();
  SaveScanSettings();
  CalinProgress = 1;
  if (calB_only != 0) {
    if (PortA_cal < 1) {
      MsgBox(&main_win, "A valid calibration file for Port A must be loaded first.",
             " No Port A cal file", kMbOk, kIconNone, true);
      calB_error = 999;
      CalinProgress = 0;
      return false;
    }
    MsgBox(&main_win,
           "Port B will be calibrated and the data will be" + kNl +
               "combined with the present cal data for Port A.",
           " Cal Port B only ", kMbOk, kIconNone, true);
    start_freq = cal_start_freq;
    end_freq = cal_end_freq;
    delta_freq = cal_delta_freq;
  }
  sv_.diagmode = DIAGMODE;
  sv_.average = average;
  average_saved = average;
  sv_.b_sens = PortB_Sens;
  sv_.a_sens = PortA_Sens;
  sv_.b_gain = PortB_Gain;
  sv_.a_gain = PortA_Gain;
  sv_.amplitude = DDS_Amplitude;
  std::copy(RngGain, RngGain + 6, sv_.rng_gain);
  std::copy(Rng, Rng + 6, sv_.rng);
  if (average < 16) AverageADC(16);

  relayA = relayB = 1;
  PortA_Gain = 1;
  PortB_Gain = 1;
  PortA_Sens = 2;
  PortB_Sens = 1;
  transmission_mode = 1;
  PortB_on = 1;
  smoothing = 0;
  if (DIAGMODE != 0) {
    plot_at_zero = 1;
    start_freq = 1;
    end_freq = maximumfreq;
    delta_freq = 1;
    FreqGrid();
    DrawGraph();
  }
  if (std::abs(ExtensionLength) > 0.0001) {
    const std::string text = "The Line Extension is set for " + NumStr(ExtensionLength * 100) +
                             " cm" + kCr +
                             "Any adapters attached to the RF connector at this time will be "
                             "nulled out by the cal procedure." +
                             kCr +
                             "Would you like to remove any adapters and set the Line Extension "
                             "to zero?";
    if (MsgBox(&main_win, text, " Line Extension", kMbYesNo, kIconNone, true) == kIdYes) {
      ExtensionLength = 0;
      ExtensionFlag = 0;
      InfoPanel(4);
    }
  }
  PortB_title = " ";
  if (mux_chan == 1) {
    cal_prompt = " Connect the Line used for the Reference to MUX Chan 1.";
    cal_caption = " Reference Chan 1";
  } else {
    cal_prompt = " Attach Through-Cable from Port A to Port B.  ";
    cal_caption = " Port B Cal";
  }
  cal_prompt_color = Rgb(150, 200, 255);
  if (mux_chan < 2 && RunModal(dlg_calibration, &main_win) != 1) {
    PortB_cal = 0;
    RelaysOff();
    ExitHalted();
    return false;
  }
  // The tables are rewritten from here on: no Port B calibration is in force
  // until both passes have measured.
  PortB_cal = 0;
  calB_error = 0;
  error_text_.clear();
  FocusForm(main_win);
  focus_win = 1;
  relayA = relayB = 1;
  hw_reset_prompt = 1;
  ProgRelay(3);
  if (vna_present > 0) {
    CheckDCVoltage(Rnd(dc_volt_min), Rnd(dc_volt_max), 1);
    if (vna_status > 0) {
      error_text_ = std::string("DC Voltage") + (vna_status == 19   ? " too high."
                                                 : vna_status == 13 ? " too low."
                                                                    : " out of spec.");
      calB_error = vna_status;
    }
  }
  return true;
}

void PortBCal::GainRanges() {
  const double defaults[6] = {0, 1, 4.9, 24, 117.4, 487.7};
  const double phases_deg[6] = {0, 0, -0.232, -1.456, 2.881, -1.371};
  for (int k = 1; k <= 5; ++k) {
    RngGain[k] = defaults[k];
    Rng[k] = phases_deg[k] / 57.3;
  }
  freq = 1;
  // A range whose reading failed measured nothing: the calibration fails
  // with it, and the gain checks below (made only while no error is
  // recorded) say nothing of a gain that was never measured.
  const RangeRead r1 = RangeReading(1, 100, true);
  ReadingFailedHere();
  const double m1 = r1.load;
  if (m1 > 25000 && calB_error == 0) {
    calB_error = 20;
    error_text_ = "BGain range 1 error";
  }
  const RangeRead r2 = RangeReading(2, 20, false);
  ReadingFailedHere();
  const double m2 = r2.load;
  if (m2 > 30000 && calB_error == 0) {
    calB_error = 30;
    error_text_ = "BGain range 2 error";
  }
  if (m1 > 30000 || m2 > 30000) {
    MsgBox(&main_win,
           "Port B overload:" + kNl + "Gain range 1 reading = " + NumStr(m1) + kNl +
               "Gain range 2 reading = " + NumStr(m2),
           " Port B overload during cal //3742", kMbOk, kIconNone, true);
  }
  // Each gain is the step's load per unit of drive against range 1's. A
  // range 1 reading of nothing measures no gain: the step fails the gain
  // check and keeps its default.
  const double g2 = GainOf(r2, r1);
  if (g2 > 0) {
    RngGain[2] = g2;
    Rng[2] = r2.phase - r1.phase;
  }
  if (!(g2 >= 4 && g2 <= 5.5) && calB_error == 0) {
    calB_error = 30;
    error_text_ = "BGain range 2 error";
    MsgBox(&main_win, "Port B gain range 2 out of spec. Gain =" + NumStr(g2),
           " Port B gain error  //7723", kMbOk, kIconNone, true);
  }
  const RangeRead r3 = RangeReading(3, 4, true);
  ReadingFailedHere();
  const double g3 = GainOf(r3, r1);
  if (g3 > 0) {
    RngGain[3] = g3;
    Rng[3] = r3.phase - r1.phase;
  }
  // Ranges 4 and 5 differ from one instrument to the next as much as the
  // others, and the weakest signals are read with them: each is measured
  // against the range below it, both at a drive that puts the higher range
  // where range 1 stood at full drive, and no higher than half the
  // converter's range, which the coarse amplitude codes of so weak a drive
  // may overshoot.
  const double level = std::min(m1, 16000.0);
  for (int k = 4; k <= 5 && m1 > 0; ++k) {
    const double drive = 100 * level / m1 / (RngGain[k - 1] * defaults[k] / defaults[k - 1]);
    const RangeRead below = RangeReading(k - 1, drive, true);
    if (ReadingFailedHere()) break;
    const RangeRead step = RangeReading(k, drive, true);
    if (ReadingFailedHere()) break;
    const double g = GainOf(step, below);
    if (!(g > 0)) break;
    RngGain[k] = RngGain[k - 1] * g;
    Rng[k] = Rng[k - 1] + WrapPhase(step.phase - below.phase);
  }
  if (DIAGMODE != 0) {
    for (int k = 1; k <= 5; ++k) {
      MoveTo(main_win, 500, 100 + 20 * (k - 1));
      PrintItems(main_win, {k, RngGain[k], Rng[k] * 57.3, "   //7322"});
    }
  }
  PortB_Gain = 1;
  gain_factor_B = 1;
  ProgGain();
  DDSAmplitude(sv_.amplitude);
  AverageADC(16);
  scan_running = 1;
  freq = cal_start_freq;
  for (int i = 0; i < cal_points; ++i) CalDataB[i].freq = CalDataA[i].freq;
}

bool PortBCal::ReadingFailedHere() {
  if (vna_status == 0) return false;
  if (calB_error == 0) {
    calB_error = 1;
    failed_status_ = vna_status;
    said_by_link_ = FailureSaidByLink(vna_status);
    error_text_ = "the instrument failed to measure at" + NumStr(freq) + " MHz (status" +
                  NumStr(vna_status) + ").";
  }
  return true;
}

End PortBCal::Checked(const std::string& noref_line) {
  const double at = freq;
  PumpEvents();  // Halt clears scan_running
  if (scan_running == 0) return End::kHalted;
  if (MagRef < 50) {
    MoveTo(main_win, 100, 200);
    PrintText(main_win, noref_line.empty()
                            ? "    ****   There is no reference signal from the VNA at" +
                                  NumStr(at) + " MHz   **** //66232   "
                            : noref_line);
    return End::kNoRef;
  }
  return End::kGoOn;
}

void PortBCal::ProgressLine(int index, const std::string& gap, double ratio, double phase) {
  SetTextColor(main_win, Black);
  MoveTo(main_win, graph_left - 10, line0_y);
  PrintItems(main_win, {"  ", index, gap, ratio, "  ", phase, "         "});
}

End PortBCal::LowPass() {
  double offset = 0;
  for (int i = 0; calB_error == 0 && i < cal_points && scan_running > 0; ++i) {
    freq = CalDataA[i].freq;
    ReadPoint_B(0);
    // A failed reading ends the pass and is no record of the table.
    if (ReadingFailedHere()) break;
    if (const End e = Checked(""); e != End::kGoOn) return e;
    const double ratio = MagLoad / (MagRef + 0.001);
    const double dp = Delta_Phase;
    if (i == 1) {
      prev_phase_ = dp;
      low_dp1_ = dp;
      low_reached_1_ = true;
    }
    // The raw phase falls with frequency; a jump from below 0 to above 0 is
    // a wrap of the instrument's phase.
    if (i >= 1 && prev_phase_ < 0 && dp > 0) offset -= 2 * pi;
    prev_phase_ = dp;
    low_measured_ = true;
    const double phase = dp + offset;
    CalPointB& p = CalDataB[i];
    p.freq = freq;
    p.ratio_low = ratio;
    p.phase_low = phase;
    p.multstate = dds_mult2 + 32 * dds_mult1 + 1000 * OSC;
    p.gainA = gain_factor_A;
    p.gainB = gain_factor_B;
    p.osc = OSC;
    if (model_uhf != 0) {
      p.ratio_high = ratio;
      p.phase_high = phase;
    }
    if (i == 2 && ratio < 0.05) {
      const std::string text = " Be sure the Through Cable is properly connected from A to B." +
                               kCr + "Port B signal = " + NumStr(ratio) +
                               ". (Should be approx 1.0)" + kCr + "Do you want to continue?";
      if (MsgBox(&main_win, text, " Check through cable", kMbYesNo, kIconNone, true, 1) != kIdYes) {
        return End::kWeak;
      }
    }
    ProgressLine(i, "     ", ratio, phase);
    if (DIAGMODE != 0) {
      if (i == 1) {
        diag_ratio1_ = ratio;
        diag_load1_ = MagLoad;
      }
      if (diag_ratio1_ > 0 && diag_load1_ > 0) {
        DiagDot(Rnd(graph_bottom - 200 * ratio / diag_ratio1_), RedColor);
        DiagDot(Rnd(graph_bottom - 200 * MagLoad / diag_load1_), Green);
        if (i == 1) {
          DiagLabel("Ratio B/A   B_LowSens", RedColor, Rnd(graph_bottom - 200.0) - 20);
          DiagLabel("MagLoad   B_LowSens", Green, Rnd(graph_bottom - 200.0) + 5);
        }
      }
    }
  }
  return End::kGoOn;
}

End PortBCal::HighPass() {
  DDSAmplitude(sv_.amplitude * 0.25);
  PortB_Gain = 1;
  PortB_Sens = 2;
  gain_factor_B = 4;
  ProgGain();
  double offset = 0, align = 0;
  freq = cal_start_freq;
  diag_ratio1_ = diag_load1_ = 0;
  for (int i = 0; i < cal_points && scan_running > 0; ++i) {
    freq = CalDataA[i].freq;
    ReadPoint_B(0);
    if (ReadingFailedHere()) break;
    if (const End e = Checked("    ****   There is no reference signal from the VNA.   **** "
                              "//30432   ");
        e != End::kGoOn) {
      return e;
    }
    // MagLoad already carries the high sensitivity's factor of 4 (in
    // gain_factor_B): the ratio is formed as at low sensitivity.
    const double ratio = MagLoad / (MagRef + 0.001);
    const double dp = Delta_Phase;
    if (i == 1) {
      prev_phase_ = dp;
      // The two passes may have unwrapped by different turns; only whole
      // turns are taken off, so the real phase step of the high
      // sensitivity stays in its table.
      if (low_reached_1_) align = twopi * std::round((low_dp1_ - dp) / twopi);
    }
    if ((i >= 1 || low_measured_) && prev_phase_ < 0 && dp > 0) offset -= 2 * pi;
    prev_phase_ = dp;
    const double phase = dp + offset + align;
    CalDataB[i].ratio_high = ratio;
    CalDataB[i].phase_high = phase;
    ProgressLine(i, "        ", ratio, phase);
    if (DIAGMODE != 0) {
      if (i == 1) {
        diag_ratio1_ = ratio;
        diag_load1_ = MagLoad;
      }
      if (diag_ratio1_ > 0 && diag_load1_ > 0) {
        DiagDot(Rnd(graph_zero_y - 200 * (ratio / diag_ratio1_ - 1)), Blue);
        DiagDot(Rnd(graph_zero_y - 200 * (MagLoad / diag_load1_ - 1)), Black);
        if (i == 1) {
          DiagLabel("Ratio B/A   B_HighSens", Blue, graph_zero_y - 20);
          DiagLabel("MagLoad   B_HighSens", Black, graph_zero_y + 5);
        }
      }
    }
  }
  return End::kGoOn;
}

// A calibration that did not complete counts as none, and its gain steps do
// not stay in force.
void PortBCal::Failed() {
  PortB_cal = 0;
  std::copy(sv_.rng_gain, sv_.rng_gain + 6, RngGain);
  std::copy(sv_.rng, sv_.rng + 6, Rng);
}

void PortBCal::ExitHalted() {
  RelaysOff();
  DIAGMODE = sv_.diagmode;
  CalinProgress = 0;
  calB_error = 999;
  RestoreScanSettings();
}

void PortBCal::ExitNoRef(const std::string&) {
  transmission_mode = 0;
  RelaysOff();
  DIAGMODE = sv_.diagmode;
  RestoreScanSettings();
  scan_running = 0;
  CalinProgress = 0;
  calB_error = 999;
}

void PortBCal::ExitWeak() {
  RelaysOff();
  MsgBox(&main_win, "Calibration has been aborted.", " Cal Problem", kMbOk, kIconNone, true);
  DIAGMODE = sv_.diagmode;
  scan_running = 0;
  CalinProgress = 0;
  calB_error = 999;
  RestoreScanSettings();
}

void PortBCal::NormalEnd() {
  // The temperature goes with a calibration that measured; after a failed
  // reading its query would only fail (and say so) again.
  if (calB_error != 1) ReadTemperature();
  RelaysOff();
  scan_running = 0;
  transmission_mode = 0;
  PortA_Sens = model_uhf != 0 ? 2 : sv_.a_sens;
  PortB_Sens = model_uhf != 0 ? 1 : sv_.b_sens;
  PortB_Gain = sv_.b_gain;
  PortA_Gain = sv_.a_gain;
  average = sv_.average;
  AverageADC(average);
  InfoPanel(1);
  RestoreScanSettings();
  ProgGain();
  DDSAmplitude(sv_.amplitude);
  if (calB_error != 0) {
    Failed();
  }
  // A failed reading the link has said in its own box (then, or since: an
  // instrument found gone) is said once.
  const bool said = calB_error == 1 && (said_by_link_ || FailureSaidByLink(failed_status_));
  if (calB_error != 0 && !said) {
    MsgBox(&main_win, "Port B cal error : " + error_text_,
           " Port B cal error " + NumStr(calB_error), kMbOk, kIconNone, true);
  } else {
    PortB_cal = 1;
    MaxCalBNdx = cal_points - 1;
  }
  if (mux_chan < 1) {
    MsgBox(&main_win, "Port B Cal is Complete", " Port B Cal", kMbOk, kIconNone, true);
  }
  if (PortB_cal == 1) SetScanCaptions();
  RestoreScanSettings();
  DIAGMODE = sv_.diagmode;
  scan_running = 0;
  CalinProgress = 0;
}

void PortBCal::Run() {
  if (!Start()) return;
  GainRanges();
  End e = LowPass();
  if (e == End::kGoOn && model_uhf == 0) e = HighPass();
  switch (e) {
    case End::kGoOn:
      NormalEnd();
      return;
    case End::kHalted:
      ExitHalted();
      break;
    case End::kNoRef:
      ExitNoRef("");
      break;
    case End::kWeak:
      ExitWeak();
      break;
  }
  Failed();
}

}  // namespace

void CalB() {
  PortBCal().Run();
}

}  // namespace vna
