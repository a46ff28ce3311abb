#include "calibration/correct_b.h"

#include <cmath>
#include <string>

#include "calibration/cal_tables.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

double ratio_BA = 0;
double last_phase_B = 0;
double load_A_R[kLoadTableSize], load_A_X[kLoadTableSize];
double load_B_R[kLoadTableSize], load_B_X[kLoadTableSize];
Complex load_gamma, s21;

namespace {

constexpr double kWrapLimit = 3.115;  // a difference this large may have wrapped
constexpr double kWrapStep = 0.0262;  // the largest step a smooth phase makes

void NoBracketNotice(int ndx) {
  msg_text = "PortB: Could not find cal data in the array. Freq= " + NumStr(freq) +
             "  MaxCalBNdx= " + NumStr(MaxCalBNdx) + " ndx= " + NumStr(ndx);
  MoveTo(main_win, 250, 530);
  PrintText(main_win, msg_text);
}

// The first part of the debug box: the point and the records it is
// corrected with.
std::string DebugText(const CalBracket& k, int state, double cr, double cp, bool low) {
  const CalPointB& a = CalDataB[k.a];
  const CalPointB& upper = CalDataB[k.b];
  const std::string nl = "\r\n";
  std::string s = "    Set MyVar3=Start Freq and MyVar4=End freq for debug" + nl;
  s += " Freq=" + NumStr(freq) + "  scanning=" + NumStr(scan_running) + nl;
  s += " DDSmults= " + NumStr(dds_mult1) + "," + NumStr(dds_mult2) + " CLK= " + NumStr(OSC) +
       " GainB= " + NumStr(gain_factor_B) + nl;
  s += " MaxCalBNdx=" + NumStr(MaxCalBNdx) + " ndx=" + NumStr(k.ndx) + nl;
  s += " MagLoad=" + NumStr(MagLoad) + " MagRef=" + NumStr(MagRef) + nl;
  s += " n1=" + NumStr(k.a) + " n2=" + NumStr(k.b) + " freq1= " + NumStr(a.freq) +
       " freq2=" + NumStr(upper.freq) + nl;
  s += "Multstate= " + NumStr(state) + " CLK=" + NumStr(OSC) + nl;
  s += " a1= " + NumStr(low ? a.ratio_low : a.ratio_high) +
       " a2= " + NumStr(low ? upper.ratio_low : upper.ratio_high) + nl;
  s += "b1= " + NumStr(low ? a.phase_low : a.phase_high) +
       " b2= " + NumStr(low ? upper.phase_low : upper.phase_high) + nl;
  s += "h= " + NumStr(k.t) + "  m1= " + NumStr(a.multstate) + " m2= " + NumStr(upper.multstate) +
       " m0= " + NumStr(mult_code) + nl;
  s += "Cal ratio = " + NumStr(cr) + "  Cal phase= " + NumStr(cp * 57.3) + "deg" + nl;
  s += "Initial ratio(B/A)= " + NumStr(ratio_BA) + " initial phase= " + NumStr(Delta_Phase * 57.3) +
       "deg" + nl;
  return s;
}

void ShowDebugBox(std::string text) {
  const double db = ratio_BA > 0 ? 20 * std::log10(ratio_BA) : -999;
  text += "Corrected ratio=" + NumStr(ratio_BA) + "=" + NumStr(db) +
          "(db)   Final phase=" + NumStr(Zphase * 57.3) + "deg";
  msg_text = text;
  if (MsgBox(&hidden_win, msg_text, " Port B  278422", kMbOkCancel, kIconNone, true) == kIdCancel) {
    MyVar4 = 0;
  }
}

}  // namespace

void CorrectB() {
  if (CalinProgress != 0) return;
  if (monitor_trace != 0) SUB = "CorrectB";
  SetDigits(4);
  if (no_cal_comp != 0) return;

  const int state = 1000 * OSC + mult_code;
  CalBracket k;
  if (!BracketCalB(freq, state, k)) {
    NoBracketNotice(k.ndx);
    Zphase = load_phase;
    return;
  }
  const bool low = PortB_Sens == 1;
  const double cr = CalValue(k, CalDataB, low ? &CalPointB::ratio_low : &CalPointB::ratio_high);
  const double cp = CalValue(k, CalDataB, low ? &CalPointB::phase_low : &CalPointB::phase_high);

  // The delay offset as a phase: 2 pi x (freq in Hz) x seconds.
  double w = Delta_Phase - 2 * pi * 1e6 * freq * delay_offset;
  if (autorange == 0 && PortB_Gain >= 1 && PortB_Gain <= 5) w -= Rng[PortB_Gain];
  const bool debug = MyVar3 < freq && freq < MyVar4;
  std::string debug_text;
  if (debug) debug_text = DebugText(k, state, cr, cp, low);

  double d = w - cp;
  if (std::abs(d) < kWrapLimit) last_phase_B = d;
  if (std::abs(d - last_phase_B) > kWrapStep && std::isfinite(d)) {
    while (d > pi) d -= twopi;
    while (d < -pi) d += twopi;
    last_phase_B = d;
  }
  Zphase = d;
  // A missing or broken calibrated ratio leaves the reading as it is.
  if (cr != 0 && std::isfinite(cr)) ratio_BA = ratio_BA / cr;
  if (debug) ShowDebugBox(debug_text);
}

void InitPortLoadTables() {
  struct Row {
    double ar, ax, br, bx;
  };
  static constexpr Row kRows[14] = {
      {50.18, -0.16, 49.7, 0},      {49.29, -2.24, 49.79, -0.37}, {46.84, -3.13, 49.55, -0.29},
      {43.81, -2.51, 48.62, -0.27}, {41.41, -0.32, 47.83, -0.03}, {40.34, 3.18, 47.51, 0.55},
      {40.95, 7.32, 47.77, 1.47},   {42.77, 12.0, 47.6, 3.0},     {46.74, 16.18, 47.63, 4.34},
      {52.8, 17.44, 47.38, 4.7},    {62.2, 14.4, 48.38, 4.18},    {71.0, 5.3, 50.62, 2.79},
      {69.7, -7.97, 52.15, 3.36},   {60.8, -14.95, 49.7, 4.04},
  };
  for (int k = 0; k < 14; ++k) {
    load_A_R[k] = kRows[k].ar;
    load_A_X[k] = kRows[k].ax;
    load_B_R[k] = kRows[k].br;
    load_B_X[k] = kRows[k].bx;
  }
}

void GetLoadGamma(int port) {
  constexpr int kLast = 13;  // the 650 MHz entry, the highest measured
  int n = 0;
  double t = 0;
  if (freq >= 50.0 * kLast) {
    n = kLast;  // no load data above: the last entry holds
  } else if (freq > 0) {
    n = static_cast<int>(std::floor(freq / 50));
    t = (freq - 50.0 * n) / 50;
  }
  const double* rt = port == 1 ? load_A_R : load_B_R;
  const double* xt = port == 1 ? load_A_X : load_B_X;
  const int m = n < kLast ? n + 1 : n;
  const double r = rt[n] + (rt[m] - rt[n]) * t;
  const double x = xt[n] + (xt[m] - xt[n]) * t;
  const Complex num{r - Zref, x};
  const Complex den{r + Zref, x};
  if (den.r == 0 && den.i == 0) {
    load_gamma = {1, 0};  // no reference and no load: a total reflection
    return;
  }
  CDiv(load_gamma, num, den);
}

void CorrectS21() {
  if (monitor_trace != 0) SUB = "CorrectS21";
  s11 = {0.5, 0};
  S22 = {0.5, 0};
  GetLoadGamma(1);
  const Complex ga = load_gamma;
  GetLoadGamma(0);
  const Complex gb = load_gamma;
  Complex d, n1, n2;
  CMul(d, ga, gb);
  d = {1 - d.r, -d.i};
  CMul(n2, S22, gb);
  n2 = {1 - n2.r, -n2.i};
  CMul(n1, s11, ga);
  n1 = {1 - n1.r, -n1.i};
  Complex out;
  CMul(out, s21, n2);
  CMul(out, out, n1);
  // Two passive port loads never make 1 - GammaA GammaB zero; a broken table
  // or reference must not turn s21 into not-a-number.
  if (d.r == 0 && d.i == 0) return;
  CDiv(out, out, d);
  if (std::isfinite(out.r) && std::isfinite(out.i)) s21 = out;
}

}  // namespace vna
