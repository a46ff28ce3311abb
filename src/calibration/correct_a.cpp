#include "calibration/correct_a.h"

#include <cmath>
#include <string>

#include "calibration/cal_tables.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/complex.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

std::string ComplexText(const Complex& z) {
  return NumStr(z.r) + " j" + NumStr(z.i);
}

// The first half of the debug box: the point, the raw reading and the
// calibration records it is corrected with.
std::string DebugBracketText(const CalBracket& k, int state) {
  const CalPointA& a = CalDataA[k.a];
  const CalPointA& upper = CalDataA[k.b];
  const std::string nl = "\r\n";
  std::string s = "    Set MyVar3=Start Freq and MyVar4=End freq for debug" + nl;
  s += " Freq=" + NumStr(freq) + "  scanning=" + NumStr(scan_running) + nl;
  s += " DDSmults= " + NumStr(dds_mult1) + "," + NumStr(dds_mult2) + " CLK= " + NumStr(OSC) +
       " GainA= " + NumStr(gain_factor_A) + nl;
  s += " Rsm= " + NumStr(Rsm) + "  Xsm= " + NumStr(Xsm) + " :Raw measured data" + nl;
  s += " ndx=" + NumStr(k.ndx) + "  MaxCalANdx=" + NumStr(MaxCalANdx) + " n1=" + NumStr(k.a) +
       " n2=" + NumStr(k.b) + " freq1=" + NumStr(a.freq) + " freq2=" + NumStr(upper.freq) + nl;
  s += " a1=" + NumStr(a.shortR) + " b1=" + NumStr(a.shortX) + " : Short ckt cal data" + nl;
  s += " a2=" + NumStr(upper.shortR) + " b2=" + NumStr(upper.shortX) + nl;
  s += " c1=" + NumStr(a.openR) + " d1=" + NumStr(a.openX) + " : Open ckt cal data" + nl;
  s += " c2=" + NumStr(upper.openR) + " d2=" + NumStr(upper.openX) + nl;
  s += " e1=" + NumStr(a.stdR) + " f1=" + NumStr(a.stdX) + " : Std resistor cal data" + nl;
  s += " e2=" + NumStr(upper.stdR) + " f2=" + NumStr(upper.stdX) + nl;
  s += " h=" + NumStr(k.t) + "    multstate=" + NumStr(state) + "  mult1=" + NumStr(dds_mult1) +
       " mult2=" + NumStr(dds_mult2) + nl;
  return s;
}

// The second half: the interpolated standards, the terms of the correction
// and the result; then the box itself.
void ShowDebugBox(std::string text, const Complex& s, const Complex& o, const Complex& d,
                  const Complex z[4]) {
  const std::string nl = "\r\n";
  text += " Zs=" + ComplexText(s) + " Zo=" + ComplexText(o) + " Zstd=" + ComplexText(d) + nl;
  text += " Rstd=" + NumStr(Rstd) + nl;
  text += " z1=" + ComplexText(z[0]) + " z2=" + ComplexText(z[1]) + " z3=" + ComplexText(z[2]) +
          " z4=" + ComplexText(z[3]) + nl;
  text += " Rsm=" + NumStr(Rsm) + " Xsm=" + NumStr(Xsm) + " : Raw measured data" + nl;
  text += " Rsc=" + NumStr(point_Rs) + " Xsc=" + NumStr(point_Xs) + " : Corrected data" + nl;
  text += " Zmag=" + NumStr(Zmag) + " Phase=" + NumStr(Zphase * 57.3) + "deg";
  msg_text = text;
  if (MsgBox(&hidden_win, msg_text, " Port A  378422", kMbOkCancel, kIconNone, true) == kIdCancel) {
    MyVar4 = 0;
  }
}

void NoBracketNotice(int ndx) {
  msg_text =
      "PortA: Could not find cal data in the array.  CalinProgress=" + NumStr(CalinProgress) +
      " Freq= " + NumStr(freq) + "  MaxCalANdx= " + NumStr(MaxCalANdx) + " ndx= " + NumStr(ndx);
  MoveTo(main_win, 250, 500);
  PrintText(main_win, msg_text);
}

}  // namespace

void CorrectA() {
  if (CalinProgress != 0) {
    SetDigits(3);
    return;
  }
  if (monitor_trace != 0) SUB = "CorrectA";
  SetDigits(4);

  const int state = 1000 * OSC + mult_code;
  CalBracket k;
  if (!BracketCalA(freq, state, k)) {
    NoBracketNotice(k.ndx);
    SetDigits(3);
    return;
  }
  const bool debug = MyVar3 < freq && freq < MyVar4;
  std::string debug_text;
  if (debug) debug_text = DebugBracketText(k, state);

  auto at = [&k](double CalPointA::*q) { return CalValue(k, CalDataA, q); };
  const Complex S{at(&CalPointA::shortR), at(&CalPointA::shortX)};
  const Complex O{at(&CalPointA::openR), at(&CalPointA::openX)};
  const Complex D{at(&CalPointA::stdR), at(&CalPointA::stdX)};
  const Complex M{Rsm, Xsm};

  // Z = Rstd (O - D)(M - S) / ((D - S)(O - M))
  Complex z[4], A, B, Z;
  CSub(z[0], O, D);
  CSub(z[1], M, S);
  CSub(z[2], D, S);
  CSub(z[3], O, M);
  CMul(A, z[0], z[1]);
  CMul(B, z[2], z[3]);
  // A reading equal to the open standard (B = 0) is an impedance beyond
  // measure, as is any result that overflows.
  bool beyond = B.r == 0 && B.i == 0;
  if (!beyond) {
    CDiv(Z, A, B);
    point_Rs = Z.r * Rstd;
    point_Xs = Z.i * Rstd;
    beyond = !std::isfinite(point_Rs) || !std::isfinite(point_Xs);
  }
  if (beyond) {
    point_Rs = kOpenOhms;
    point_Xs = 0;
  }
  if (point_Rs <= 0) point_Rs = 0.00001;

  if (ExtensionFlag != 0) ExtendLine();

  if (point_Xs == 0) point_Xs = 0.0001;
  const double w = 6.2831853 * freq;
  Cs = -1000000 / (w * point_Xs);
  // After a line extension the resistance may be 0; the phase is then +-90
  // degrees and the parallel resistance beyond measure.
  Zphase = point_Rs != 0 ? std::atan(point_Xs / point_Rs) : (point_Xs > 0 ? pi / 2 : -pi / 2);
  const double m2 = point_Xs * point_Xs + point_Rs * point_Rs;
  Zmag = std::sqrt(m2);
  Rp = point_Rs != 0 ? m2 / point_Rs : kOpenOhms;
  Xp = m2 / point_Xs;
  Cp = -1000000 / (w * Xp);
  Zmag_A = Zmag;
  phase_A = Zphase;

  if (debug) ShowDebugBox(debug_text, S, O, D, z);
  SetDigits(3);
}

void ExtendLine() {
  const double angle = freq * ext_phase_per_MHz;
  const double t = std::tan(angle);
  const double r = point_Rs / Zextension;
  const double x = point_Xs / Zextension;
  const double p = x - t;
  const double f = 1 + t * x;
  const double h = -r * t;
  const double k = Zextension / (h * h + f * f);
  const double rs = k * (h * p + f * r);
  const double xs = k * (f * p - r * h);
  // A line extension of no impedance, or a load that the line turns into an
  // open circuit, has no finite result: the impedance stays beyond measure.
  if (std::isfinite(rs) && std::isfinite(xs)) {
    point_Rs = rs;
    point_Xs = xs;
  } else {
    point_Rs = kOpenOhms;
    point_Xs = 0;
  }
}

}  // namespace vna
