#include "instrument/test_panels.h"

#include <cmath>
#include <string>

#include "calibration/freq_cal.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/info_panel.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {
namespace {

// Sets the output to freq without reading a point.
void Tune() {
  Send_Freq(1);
}

double FieldValue(const Dialog& d, int id) {
  return ParseNumber(GetCtlText(d, id));
}

std::string FreqPattern(double f) {
  return FormatUsing("###.######", {f});
}

// Checks `first` and unchecks `second`, or the reverse.
void CheckPair(Dialog& d, int first, int second, bool first_on) {
  SetCheck(d, first, first_on);
  SetCheck(d, second, !first_on);
}

// Checks the box of `value` (1 for the first id) and unchecks the others; a
// value outside the row leaves the row as it is.
template <size_t N>
void CheckOneOf(Dialog& d, const int (&ids)[N], int value) {
  if (value < 1 || value > static_cast<int>(N)) return;
  for (size_t k = 0; k < N; ++k) SetCheck(d, ids[k], static_cast<int>(k) + 1 == value);
}

// Position (1-based) of id in the row, 0 when absent.
template <size_t N>
int IndexOf(const int (&ids)[N], int id) {
  for (size_t k = 0; k < N; ++k)
    if (ids[k] == id) return static_cast<int>(k) + 1;
  return 0;
}

void FocusMain() {
  FocusForm(main_win);
  focus_win = 1;
}

// ---- " VNA Test" ----

constexpr int kVtFreqField = 2, kVtAmpField = 5;
constexpr int kVtFreqEnter = 4, kVtAmpEnter = 7;
constexpr int kVtFreqPresets[] = {8, 9, 10, 11, 12, 13, 14, 15};
constexpr double kVtFreqValues[] = {1, 2, 5, 10, 20, 50, 100, 150};
constexpr int kVtAmpPresets[] = {16, 17, 18, 19, 20, 21};
constexpr double kVtAmpValues[] = {100, 75, 50, 25, 10, 5};
constexpr int kVtClk1 = 71, kVtClk2 = 72;
constexpr int kVtALowSens = 25, kVtAHiSens = 26;
constexpr int kVtARelayClosed = 32, kVtARelayOpen = 23;
constexpr int kVtAGain[] = {27, 28, 30};  // Low, Med, High
constexpr int kVtSigA = 33, kVtSigB = 34;
constexpr int kVtBLowSens = 42, kVtBHiSens = 43;
constexpr int kVtBRelayClosed = 41, kVtBRelayOpen = 40;
constexpr int kVtBGain[] = {44, 45, 46, 47, 52};  // 1x .. 513x
constexpr int kVtDefaults = 48, kVtExitDdsOff = 35, kVtExitKeep = 49;

// Fields and boxes from the present state, as the panel opens.
void ShowVnaTestState() {
  Dialog& d = dlg_vna_test;
  freq_single = static_cast<float>(freq);
  SetCtlText(d, kVtFreqField, " " + NumStr(freq_single));
  SetCtlText(d, kVtAmpField, " " + NumStr(DDS_Amplitude));
  CheckPair(d, kVtClk1, kVtClk2, OSC == 1);
  CheckPair(d, kVtALowSens, kVtAHiSens, PortA_Sens == 1);
  CheckPair(d, kVtSigA, kVtSigB, sig_select == 1);
  CheckPair(d, kVtARelayClosed, kVtARelayOpen, relayA > 0);
  CheckPair(d, kVtBLowSens, kVtBHiSens, PortB_Sens == 1);
  CheckPair(d, kVtBRelayClosed, kVtBRelayOpen, relayB > 0);
  CheckOneOf(d, kVtAGain, PortA_Gain);
  CheckOneOf(d, kVtBGain, PortB_Gain);
}

void OpenVnaTest() {
  CenterDialog(dlg_vna_test);
  if (test_freq > 10000) test_freq = 1;
  freq = test_freq;
  vna_test_open = 1;
  ShowVnaTestState();
}

void ShowAmplitude(Dialog& d, int field, const std::string& lead) {
  SetCtlText(d, field, lead + NumStr(DDS_Amplitude));
}

void RelaysOn() {
  relayA = 1;
  relayB = 1;
  ProgRelay(3);
}

void VnaTestCommand(int id) {
  Dialog& d = dlg_vna_test;
  if (const int k = IndexOf(kVtFreqPresets, id)) {
    freq = kVtFreqValues[k - 1];
    RelaysOn();
    Tune();
    SetCtlText(d, kVtFreqField, "  " + FreqPattern(freq));
    return;
  }
  if (const int k = IndexOf(kVtAmpPresets, id)) {
    DDSAmplitude(kVtAmpValues[k - 1]);
    ShowAmplitude(d, kVtAmpField, "  ");
    return;
  }
  if (const int k = IndexOf(kVtAGain, id)) {
    PortA_Gain = k;
    CheckOneOf(d, kVtAGain, k);
    ProgGain();
    return;
  }
  if (const int k = IndexOf(kVtBGain, id)) {
    PortB_Gain = k;
    CheckOneOf(d, kVtBGain, k);
    ProgGain();
    return;
  }
  switch (id) {
    case kVtFreqEnter:
      freq = FieldValue(d, kVtFreqField);
      Tune();
      hw_reset_prompt = 1;
      RelaysOn();
      break;
    case kVtAmpEnter: {
      double requested = std::fabs(FieldValue(d, kVtAmpField));
      if (requested > 100) requested = 100;
      if (requested < 10 && DIAGMODE == 0) requested = 10;
      input_value = requested;
      AmplitudeCheck();
      ShowAmplitude(d, kVtAmpField, "  ");
      break;
    }
    case kVtClk1:
    case kVtClk2:
      CheckPair(d, kVtClk1, kVtClk2, id == kVtClk1);
      SelectOsc(id == kVtClk1 ? 1 : 2);
      break;
    case kVtALowSens:
    case kVtAHiSens:
      PortA_Sens = id == kVtALowSens ? 1 : 2;
      CheckPair(d, kVtALowSens, kVtAHiSens, PortA_Sens == 1);
      ProgGain();
      break;
    case kVtARelayClosed:
    case kVtARelayOpen:
      relayA = id == kVtARelayClosed ? 1 : 0;
      ProgRelay(2 * relayB + relayA);
      CheckPair(d, kVtARelayClosed, kVtARelayOpen, relayA > 0);
      break;
    case kVtSigA:
    case kVtSigB:
      sig_select = id == kVtSigA ? 1 : 2;
      CheckPair(d, kVtSigA, kVtSigB, sig_select == 1);
      ProgGain();
      break;
    case kVtBLowSens:
    case kVtBHiSens:
      PortB_Sens = id == kVtBLowSens ? 1 : 2;
      CheckPair(d, kVtBLowSens, kVtBHiSens, PortB_Sens == 1);
      ProgGain();
      break;
    case kVtBRelayClosed:
    case kVtBRelayOpen:
      relayB = id == kVtBRelayClosed ? 1 : 0;
      ProgRelay(2 * relayB + relayA);
      CheckPair(d, kVtBRelayClosed, kVtBRelayOpen, relayB > 0);
      break;
    case kVtDefaults:
      ResetInstrument();
      // The panel shows the defaults it has just sent, not the values before.
      ShowVnaTestState();
      break;
    case kVtExitDdsOff:
      relayA = 0;
      relayB = 0;
      vna_test_open = 0;
      ProgRelay(0);
      CloseDialog(d, 2);
      break;
    case kVtExitKeep:
      vna_test_open = 0;
      CloseDialog(d, 2);
      break;
    default:
      break;
  }
}

// ---- Constant Test Frequency ----

constexpr int kCfFreqField = 1, kCfAmpField = 43;
constexpr int kCfEnter = 3, kCfCal = 33, kCfExit = 34;

struct FreqStep {
  int plus, minus;
  double mhz;
};
constexpr FreqStep kCfSteps[] = {{37, 38, 10},      {4, 14, 1},        {15, 16, 0.1},
                                 {17, 18, 0.01},    {19, 20, 0.001},   {21, 22, 0.0001},
                                 {23, 24, 0.00001}, {25, 26, 0.000001}};

struct Preset {
  int id;
  double value;
};
// The band presets show their frequency by the pattern; 1, 5 and 100 MHz as
// a plain number.
constexpr Preset kCfBandPresets[] = {{27, 3.5}, {30, 7.0}, {28, 10}, {31, 14}, {29, 21}, {32, 28}};
constexpr Preset kCfPlainPresets[] = {{40, 1}, {41, 5}, {42, 100}};
constexpr Preset kCfAmplitudes[] = {{45, 100}, {46, 50}, {47, 25}, {48, 10}, {49, 0}};

void OpenConstFreq() {
  Dialog& d = dlg_const_freq;
  CenterDialog(d);
  freq_single = static_cast<float>(const_freq_prev);
  SetCtlText(d, kCfFreqField, " " + NumStr(freq_single));
  SetCtlText(d, kCfAmpField, " " + NumStr(DDS_Amplitude));
  dlg_text1 = GetCtlText(d, kCfFreqField);
  freq = ParseNumber(dlg_text1);
  relayA = 1;
  relayB = 0;
  ProgRelay(1);
  DDSPower(1);
  DDSAmplitude(FieldValue(d, kCfAmpField));
  Tune();
}

bool StepFrequency(int id) {
  for (const FreqStep& s : kCfSteps) {
    if (id == s.plus) {
      freq += s.mhz;
      if (id == kCfSteps[0].plus && freq > maximumfreq) freq = maximumfreq;
    } else if (id == s.minus) {
      freq -= s.mhz;
      if (freq < min_freq) freq = min_freq;
    } else {
      continue;
    }
    Tune();
    SetCtlText(dlg_const_freq, kCfFreqField, "  " + FreqPattern(freq));
    return true;
  }
  return false;
}

bool PresetFrequency(int id) {
  for (const Preset& p : kCfBandPresets) {
    if (id != p.id) continue;
    freq = p.value;
    Tune();
    freq_single = static_cast<float>(freq);
    SetCtlText(dlg_const_freq, kCfFreqField, " " + FreqPattern(freq));
    return true;
  }
  for (const Preset& p : kCfPlainPresets) {
    if (id != p.id) continue;
    freq = p.value;
    Tune();
    freq_single = static_cast<float>(freq);
    SetCtlText(dlg_const_freq, kCfFreqField, " " + NumStr(freq_single));
    return true;
  }
  for (const Preset& p : kCfAmplitudes) {
    if (id != p.id) continue;
    DDSAmplitude(p.value);
    ShowAmplitude(dlg_const_freq, kCfAmpField, " ");
    return true;
  }
  return false;
}

void ConstFreqCommand(int id) {
  Dialog& d = dlg_const_freq;
  if (StepFrequency(id) || PresetFrequency(id)) return;
  switch (id) {
    case kCfEnter:
      dlg_text1 = GetCtlText(d, kCfFreqField);
      freq = ParseNumber(dlg_text1);
      // A negative amplitude is sent as 0: DDSAmplitude keeps to 0..100.
      DDSAmplitude(FieldValue(d, kCfAmpField));
      Tune();
      break;
    case kCfCal:
      FreqCal();
      break;
    case kCfExit:
      DDSAmplitude(100);
      DDSPower(3);
      CloseDialog(d, 1);
      break;
    default:
      break;
  }
}

// ---- " Port B Mux" ----

constexpr int kMuxBoxes[] = {3, 4, 5, 6, 17, 18};  // channels 1..6
constexpr int kMuxExit = 10;

void ShowMuxSelection() {
  for (int box : kMuxBoxes) SetCheck(dlg_mux, box, false);
  if (mux_select >= 1 && mux_select <= 6) SetCheck(dlg_mux, kMuxBoxes[mux_select - 1], true);
}

}  // namespace

int VnaTestHandler() {
  int id = 0;
  if (msg_id == kEvInitDialog) {
    OpenVnaTest();
    return 0;
  } else if (msg_id == kEvCommand) {
    id = msg_ctl_id;
  } else if (msg_id == kEvClose) {
    // The close box leaves as "Exit/Keep Values" does: otherwise the panel
    // would count as open and every later relay command would skip its retune.
    id = kVtExitKeep;
  } else {
    return 0;
  }
  VnaTestCommand(id);
  InfoPanel(0);
  test_freq = freq;
  Dialog& d = dlg_vna_test;
  CheckPair(d, kVtARelayClosed, kVtARelayOpen, relayA > 0);
  CheckPair(d, kVtBRelayClosed, kVtBRelayOpen, relayB > 0);
  return 0;
}

int ConstantTestFreqHandler() {
  if (msg_id == kEvInitDialog) {
    OpenConstFreq();
  } else if (msg_id == kEvCommand) {
    ConstFreqCommand(msg_ctl_id);
  } else {
    return 0;
  }
  if (freq > maximumfreq) freq = maximumfreq;
  SetDigits(3);
  return 0;
}

void EnterConstantFreq() {
  const int result = RunModal(dlg_const_freq, &main_win);
  dlg_result = result;
  relayA = 0;
  relayB = 0;
  ProgRelay(0);
  const_freq_prev = freq;
  if (result == 1 && !dlg_text1.empty()) freq = ParseNumber(dlg_text1);
  FocusMain();
}

int MuxHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_mux);
    ShowMuxSelection();
    return 0;
  }
  // The close box leaves as "Exit" does.
  if (msg_id == kEvClose || (msg_id == kEvCommand && msg_ctl_id == kMuxExit)) {
    CloseDialog(dlg_mux, 2);
    FocusMain();
    return 0;
  }
  if (msg_id != kEvCommand) return 0;
  const int k = IndexOf(kMuxBoxes, msg_ctl_id);
  if (k == 0) return 0;
  if (mux_select == k) {
    mux_select = 0;  // switched off; mux_chan keeps the channel measured last
  } else {
    mux_select = k;
    mux_chan = k;
  }
  ExternalPort();
  ShowMuxSelection();
  return 0;
}

void AmplitudeCheck() {
  const double requested = input_value;
  const double present = DDS_Amplitude;
  const double change = std::fabs(requested - present) * 100 / present;
  if (change > amp_change_limit) {
    const std::string text = "The present calibrated amplitude is " + NumStr(present) + "%\r" +
                             "The VNA should be recalibrated if the amplitude is changed to " +
                             NumStr(requested) +
                             "%.\r\rClick YES to recal, Click NO to continue without recal.";
    if (MsgBox(&main_win, text, "Amplitude check", kMbYesNo, kIconNone, true) == kIdYes) {
      if (PortB_on != 0) {
        PortB_cal = 0;
      } else {
        PortA_cal = 0;
      }
      MsgBox(&main_win, "Recalibrate both ports ", " Cal required", kMbOk, kIconNone, true);
    }
  }
  DDS_Amplitude = requested;
  DDSAmplitude(requested);
}

}  // namespace vna
