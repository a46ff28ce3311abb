// The init file's lines in order. Readers find a line by its place alone and
// never compare the key word, so the order here is the file format: older
// and newer versions of the program read the same places.
//
// The read rules keep what other versions wrote from harming this one: each
// line has its own limits, and values that the program uses as an index or
// a divisor are kept in range even where the file format itself sets no
// limit (trace styles, the Port B gain step, the graph scales, the
// group-delay smoothing width).
#include "files/settings_table.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "calibration/line_extension.h"
#include "calibration/state.h"
#include "files/letter_case.h"
#include "files/line_reader.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/freq_grid.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna {

const char* const kMarkerKeys[6] = {"markerFreq   ",  "markerRs   ",  "markerXs   ",
                                    "markerPhase   ", "markerSwr   ", "markerRt   "};
const char* const kInitEndLine = "EIF - End of Init File";

std::string SettingNumber(double x) {
  return NumStr(std::isfinite(x) ? x : 0);
}

namespace {

// Degrees per radian as the file has always used it (not 180 / pi).
constexpr double kDegreesPerRadian = 57.3;

// ---- building rows ----

InitLine Int(const char* key, int* v, void (*read)(double, const std::string&) = nullptr) {
  InitLine l;
  l.key = key;
  l.int_value = v;
  l.read = read;
  return l;
}

InitLine Dbl(const char* key, double* v, void (*read)(double, const std::string&) = nullptr) {
  InitLine l;
  l.key = key;
  l.double_value = v;
  l.read = read;
  return l;
}

InitLine Text(std::string* v, void (*read)(double, const std::string&) = nullptr) {
  InitLine l;
  l.text_value = v;
  l.read = read;
  return l;
}

InitLine Special(InitLineKind kind, const char* key = nullptr) {
  InitLine l;
  l.kind = kind;
  l.key = key;
  return l;
}

InitLine Written(InitLine l, std::string (*write)()) {
  l.write = write;
  return l;
}

// ---- shared read rules ----

// A trace switch or on/off flag: anything but 0 switches it on.
int Flag(double v) {
  return v != 0 ? 1 : 0;
}

double LimitFreq(double v) {
  if (v < min_freq) v = min_freq;
  if (v > maximumfreq) v = maximumfreq;
  return v;
}

// A full-scale value the graph divides by: 0 (an unreadable or damaged line)
// keeps the scale it has.
void KeepNonZero(double& scale, double v) {
  if (v != 0 && std::isfinite(v)) scale = v;
}

// A trace style indexes the pen styles: 0..6, else the plain line.
int Style(double v) {
  int s = Rnd(v);
  return (s < 0 || s > 6) ? 0 : s;
}

template <int* V>
void FlagRule(double v, const std::string&) {
  *V = Flag(v);
}
template <int* V>
void StyleRule(double v, const std::string&) {
  *V = Style(v);
}
template <double* V>
void ScaleRule(double v, const std::string&) {
  KeepNonZero(*V, v);
}
template <double* V>
void FreqRule(double v, const std::string&) {
  *V = LimitFreq(v);
}
template <double* V>
void CompRule(double v, const std::string&) {
  *V = (v < 0.99 || v > 1.01) ? 1 : v;
}
template <int K>
void RngRule(double v, const std::string&) {
  Rng[K] = v / kDegreesPerRadian;
}
template <int K>
std::string RngWrite() {
  return SettingNumber(Rng[K] * kDegreesPerRadian);
}
// Written for other versions' sake, never read back.
void Ignore(double, const std::string&) {}

// ---- rules of single lines ----

void ReadDeltaFreq(double v, const std::string&) {
  if (v < 0.0000001) v = 0.001;
  if (v > 100) v = 10;
  delta_freq = v;
  FreqDecimals();
  step_text = NumStr(delta_freq);
  SetDigits(8);
}

void ReadOscFreq(double v, const std::string&) {
  osc_freq = (model_uhf == 0 && (v < 5 || v > 1000)) ? 50 : v;
}

void ReadSwrScale(double, const std::string& text) {
  std::string t = text;
  if (t.find('L') != std::string::npos) {
    swr_log = 1;
    t.pop_back();
  } else {
    swr_log = 0;
  }
  // The graph divides by swr_scale - 1, and an SWR is never below 1.
  double v = LineValue(t);
  if (v > 1 && std::isfinite(v)) swr_scale = v;
}

std::string WriteSwrScale() {
  return SettingNumber(swr_scale) + (swr_log == 1 ? "L" : "");
}

void ReadZref(double v, const std::string&) {
  Zref = (v < min_Zref || v > 1000) ? 50 : v;
  Z0real = Zref;
  Z0imag = 0;
}

void ReadVF(double v, const std::string&) {
  if (v < 0.5) v = 0.66;
  if (v > 1) v = 1;
  VF = v;
}

void ReadZ0imag(double v, const std::string&) {
  Z0imag = std::fabs(v) > 10 ? 0 : v;
}

void ReadZ0real(double v, const std::string&) {
  if (v < min_Zref) {
    Z0real = 50;
    Z0imag = 0;
  } else {
    Z0real = v;
  }
}

void ReadS21PhaseScale(double v, const std::string&) {
  v = std::fabs(v);
  s21phase_scale = (v > 200 || v < 1) ? 200 : v;
}

// The group delay full scale, ns. Nothing else gives it a start value, so a
// 0 read at start-up would be the first value the graph divides by.
void ReadDelayScale(double v, const std::string&) {
  KeepNonZero(delay_scale, v);
  if (delay_scale == 0 || !std::isfinite(delay_scale)) delay_scale = 100;
}

void ReadDelaySmoothing(double v, const std::string&) {
  // Samples when positive, percent when negative; the window is at most 20 wide.
  delay_smoothing = std::clamp(Rnd(v), -20, 20);
}

void ReadPortBGain(double v, const std::string&) {
  // The gain step indexes the gain and phase tables of ranges 1..5.
  int g = Rnd(v);
  PortB_Gain = (g < 1 || g > 5) ? 1 : g;
}

void ReadPortBSens(double v, const std::string&) {
  PortB_Sens = (v > 2 || v < 1) ? 1 : Rnd(v);
}
void ReadPortASens(double v, const std::string&) {
  PortA_Sens = (v < 1 || v > 2) ? 2 : Rnd(v);
}

// The extension is recognised in any letter case; the name is kept as the
// user's file system spells it, or it would name no file there.
void ReadConfigName(double, const std::string& text) {
  if (LowerCase(text).find(".cfg") != std::string::npos) config_file_name = text;
}

void ReadCalName(double, const std::string& text) {
  if (LowerCase(text).find(".vcal") != std::string::npos) cal_file_name = text;
}

void ReadSmoothing(double v, const std::string&) {
  if (v < 0) v = 0;
  if (v > 30) v = 5;
  smoothing = Rnd(v);
  smoothing_on = smoothing > 0 ? 1 : 0;
}

void ReadRtlossScale(double v, const std::string&) {
  if (std::fabs(v) > 80) v = 80;
  KeepNonZero(rtloss_scale, v);
}

void ReadDDSdelay(double v, const std::string&) {
  DDSdelay = std::clamp(Rnd(v), 2, 31);
}

void ReadZextension(double v, const std::string&) {
  v = std::fabs(v);
  Zextension = (v > 1000 || v < 1) ? 50 : v;
}

void ReadExtensionVP(double v, const std::string&) {
  v = std::fabs(v);
  ExtensionVP = (v > 1 || v < 0.5) ? 0.6666 : v;
}

void ReadExtensionFlag(double v, const std::string&) {
  ExtensionFlag = Rnd(std::fabs(v));
  ext_phase_per_MHz = LinePhasePerMHz(ExtensionLength, ExtensionVP);
}

void ReadWinHeight(double v, const std::string&) {
  WinHeight = v < 300 ? 300 : Rnd(v);
}
void ReadWinWidth(double v, const std::string&) {
  WinWidth = v < 500 ? 500 : Rnd(v);
}

void ReadLowPwrMode(double v, const std::string&) {
  full_current_mode = Rnd(v) == 1 ? 0 : 1;
}
std::string WriteLowPwrMode() {
  return NumStr(full_current_mode == 0 ? 1 : 0);
}

void ReadRecycleDepth(double v, const std::string&) {
  Recycle_depth = std::min(Rnd(v), INT_MAX - 2);
  recycle_count = Recycle_depth + 2;
}

std::string WriteFormat() {
  return NumStr(format + 4152);
}

std::string WriteFreq() {
  // The file has always held freq at single precision: 14.1 is written 14.10000038.
  freq_single = static_cast<float>(freq);
  return SettingNumber(freq_single);
}

// Per-channel calibration files are remembered by their first channel: a
// path holding ".chan" is stored ending "chan1" after that "." (the change
// stays in memory too).
std::string WriteCalFilePath() {
  size_t p = cal_file_path.find(".chan");
  if (p != std::string::npos) cal_file_path = cal_file_path.substr(0, p + 1) + "chan1";
  return cal_file_path;
}

std::string WriteMsec() {
  return NumStr(static_cast<int32_t>(TickCount32()));
}
std::string WriteMarkerCount() {
  return NumStr(kMaxMarkers);
}

std::vector<InitLine> BuildTable() {
  using K = InitLineKind;
  return {
      Written(Special(K::kFormat, "format   "), WriteFormat),       // 1
      Written(Dbl("freq    ", &freq, FreqRule<&freq>), WriteFreq),  // 2
      Dbl("start_freq    ", &start_freq, FreqRule<&start_freq>),
      Dbl("end_freq    ", &end_freq, FreqRule<&end_freq>),
      Dbl("delta_freq    ", &delta_freq, ReadDeltaFreq),  // 5
      Dbl("freq_comp    ", &freq_comp, CompRule<&freq_comp>),
      Dbl("freq_comp1    ", &freq_comp1, CompRule<&freq_comp1>),
      Dbl("freq_comp2    ", &freq_comp2, CompRule<&freq_comp2>),
      Dbl("osc_freq    ", &osc_freq, ReadOscFreq),
      Written(Dbl("swr_scale    ", &swr_scale, ReadSwrScale), WriteSwrScale),  // 10
      Dbl("zmag_scale    ", &zmag_scale, ScaleRule<&zmag_scale>),
      Dbl("phase_scale   ", &phase_scale, ScaleRule<&phase_scale>),
      Dbl("Zref   ", &Zref, ReadZref),
      Dbl("VF   ", &VF, ReadVF),
      Dbl("cable_length  ", &cable_length),  // 15
      Int("plot_swrA   ", &plot_swrA, FlagRule<&plot_swrA>),
      Int("plot_swrB   ", &plot_swrB, FlagRule<&plot_swrB>),
      Int("plot_s11   ", &plot_s11, FlagRule<&plot_s11>),
      Int("plots21   ", &plots21, FlagRule<&plots21>),
      Int("plot_rt  ", &plot_rt, FlagRule<&plot_rt>),  // 20
      Int("plot_zmagA   ", &plot_zmagA, FlagRule<&plot_zmagA>),
      Int("plot_zmagB   ", &plot_zmagB, FlagRule<&plot_zmagB>),
      Int("plot_rsA   ", &plot_rsA, FlagRule<&plot_rsA>),
      Int("plot_rsB   ", &plot_rsB, FlagRule<&plot_rsB>),
      Int("plot_rpA   ", &plot_rpA, FlagRule<&plot_rpA>),  // 25
      Int("plot_rpB   ", &plot_rpB, FlagRule<&plot_rpB>),
      Int("plot_Q   ", &plot_Q, FlagRule<&plot_Q>),
      Int("plot_delay   ", &plot_delay, FlagRule<&plot_delay>),
      Int("plot_ZphaseA   ", &plot_ZphaseA, FlagRule<&plot_ZphaseA>),
      Int("plot_ZphaseB   ", &plot_ZphaseB, FlagRule<&plot_ZphaseB>),  // 30
      Int("plot_phaseS21   ", &plot_phaseS21, FlagRule<&plot_phaseS21>),
      Int("plot_phaseS11   ", &plot_phaseS11, FlagRule<&plot_phaseS11>),
      Int("commport   ", &commport),
      Int("cursorena  ", &cursorena),
      Int("autopoweroff   ", &autopoweroff, FlagRule<&autopoweroff>),  // 35
      Dbl("Z0imag   ", &Z0imag, ReadZ0imag),
      Dbl("Z0real   ", &Z0real, ReadZ0real),
      Int("average   ", &average),
      Dbl("ExtensionLength   ", &ExtensionLength),
      Int("PortB_on   ", &PortB_on, FlagRule<&PortB_on>),  // 40
      Dbl("s21gain_scale   ", &s21gain_scale, ScaleRule<&s21gain_scale>),
      Dbl("s21phase_scale  ", &s21phase_scale, ReadS21PhaseScale),
      Dbl("s11gain_scale   ", &s11gain_scale, ScaleRule<&s11gain_scale>),
      Dbl("delay_scale   ", &delay_scale, ReadDelayScale),
      Int("delay_smoothing  ", &delay_smoothing, ReadDelaySmoothing),  // 45
      Int("grid_highlight ", &grid_highlight),
      Int("PortB_Gain   ", &PortB_Gain, ReadPortBGain),
      Int("PortB_Sens   ", &PortB_Sens, ReadPortBSens),
      Int("PortA_Gain   ", &PortA_Gain),
      Int("PortA_Sens   ", &PortA_Sens, ReadPortASens),  // 50
      Int("autorange   ", &autorange, Ignore),
      Text(&config_file_name, ReadConfigName),
      Text(&cal_file_name, ReadCalName),
      Int("highlight   ", &highlight, FlagRule<&highlight>),
      Int("bandskip   ", &bandskip, FlagRule<&bandskip>),  // 55
      Dbl("swr_ruler   ", &swr_ruler),
      Int("fullscan   ", &fullscan),
      Dbl("loss   ", &loss),
      Dbl("maximumfreq   ", &maximumfreq, Ignore),
      Int("smoothing   ", &smoothing, ReadSmoothing),  // 60
      Int("smooth_auto  ", &smooth_auto),
      Int("smooth_man  ", &smooth_man),
      Int("Level ", &Level),
      Dbl("rtloss_scale   ", &rtloss_scale, ReadRtlossScale),
      Int("swrminfreq   ", &swrminfreq),  // 65
      Int("swrmaxfreq   ", &swrmaxfreq),
      Int("swrmax   ", &swrmax),
      Int("DDSdelay   ", &DDSdelay, ReadDDSdelay),
      Dbl("avgweight   ", &avgweight),
      Int("interpolate  ", &interpolate),  // 70
      Text(&init_spare),
      Text(&cal_folder),
      Written(Text(&cal_file_path), WriteCalFilePath),
      Text(&config_folder),
      Text(&config_file_path),  // 75
      Text(&scan_folder),
      Text(&scan_file_path),
      Text(&spare_folder),
      Text(&spare_file_path),
      Text(&bmp_folder),  // 80
      Text(&bmp_file),
      Int("swrstyle   ", &swrstyle, StyleRule<&swrstyle>),
      Int("zmagstyle   ", &zmagstyle, StyleRule<&zmagstyle>),
      Int("rsstyle   ", &rsstyle, StyleRule<&rsstyle>),
      Int("xsstyle   ", &xsstyle, StyleRule<&xsstyle>),  // 85
      Int("phasestyle  ", &phasestyle, StyleRule<&phasestyle>),
      Int("rtstyle   ", &rtstyle, StyleRule<&rtstyle>),
      Int("s11style   ", &s11style, StyleRule<&s11style>),
      Int("s21style   ", &s21style, StyleRule<&s21style>),
      Int("delaystyle   ", &delaystyle, StyleRule<&delaystyle>),  // 90
      Int("voice   ", &voice, FlagRule<&voice>),
      Dbl("Q_scale   ", &Q_scale, ScaleRule<&Q_scale>),
      Int("plot_at_zero   ", &plot_at_zero, FlagRule<&plot_at_zero>),
      Dbl("Zextension   ", &Zextension, ReadZextension),
      Dbl("ExtensionVP   ", &ExtensionVP, ReadExtensionVP),  // 95
      Int("ExtensionFlag   ", &ExtensionFlag, ReadExtensionFlag),
      Text(&marker_folder),
      Text(&marker_file_path),
      Int("markerena   ", &markerena),
      Written(Special(K::kMarkerCount, "maxmarkers   "), WriteMarkerCount),  // 100
      Special(K::kMarkers),                                                  // 101..220
      Dbl("Zsm_real   ", &Zsm_real),                                         // 221
      Dbl("Zsm_imag   ", &Zsm_imag),
      Dbl("DDS_Amplitude   ", &DDS_Amplitude),
      Dbl("ruler_1    ", &ruler_1),
      Int("ruler1_on  ", &ruler1_on),  // 225
      Dbl("ruler_2    ", &ruler_2),
      Int("ruler2_on  ", &ruler2_on),
      Int("scana_ok   ", &scana_ok),
      Int("scanb_ok   ", &scanb_ok),
      Int("Zero_Ref   ", &Zero_Ref),  // 230
      Written(Dbl("Rng1       ", &Rng[1], RngRule<1>), RngWrite<1>),
      Written(Dbl("Rng2       ", &Rng[2], RngRule<2>), RngWrite<2>),
      Written(Dbl("Rng3       ", &Rng[3], RngRule<3>), RngWrite<3>),
      Written(Dbl("Rng4       ", &Rng[4], RngRule<4>), RngWrite<4>),
      Written(Dbl("Rng5       ", &Rng[5], RngRule<5>), RngWrite<5>),  // 235
      Int("WinHeight  ", &WinHeight, ReadWinHeight),
      Int("WinWidth   ", &WinWidth, ReadWinWidth),
      Int("RedColor  ", &RedColor),
      Int("Green      ", &Green),
      Int("Magenta    ", &Magenta),  // 240
      Int("Orange     ", &Orange),
      Int("Yellow     ", &Yellow),
      Int("Blue       ", &Blue),
      Int("LightRed   ", &LightRed),
      Int("LightGreen  ", &LightGreen),  // 245
      Int("LightMagenta ", &LightMagenta),
      Int("LightOrange  ", &LightOrange),
      Int("LightYellow  ", &LightYellow),
      Int("LightBlue    ", &LightBlue),
      Written(Int("LowPwrMode  ", &full_current_mode, ReadLowPwrMode), WriteLowPwrMode),  // 250
      Written(Special(K::kSetting, "Msec   "), WriteMsec),
      Special(K::kSpare),
      Int("Recycle_depth  ", &Recycle_depth, ReadRecycleDepth),
      Int("Mux_Cal ", &Mux_Cal),
      Dbl("BCcalStart ", &BCcalStart),  // 255
      Dbl("BCcalEnd ", &BCcalEnd),
      Dbl("BCcalDelta ", &BCcalDelta),
      Dbl("HFcalStart ", &HFcalStart),
      Dbl("HFcalEnd ", &HFcalEnd),
      Dbl("HFcalDelta ", &HFcalDelta),  // 260
      Dbl("VHFcalStart ", &VHFcalStart),
      Dbl("VHFcalEnd ", &VHFcalEnd),
      Dbl("VHFcalDelta ", &VHFcalDelta),
      Dbl("UHFcalStart ", &UHFcalStart),
      Dbl("UHFcalEnd ", &UHFcalEnd),  // 265
      Dbl("UHFcalDelta ", &UHFcalDelta),
      Special(K::kEnd, kInitEndLine),  // 267
  };
}

}  // namespace

const std::vector<InitLine>& InitFileLines() {
  static const std::vector<InitLine> table = BuildTable();
  return table;
}

}  // namespace vna
