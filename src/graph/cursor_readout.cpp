// The graph cursor: an exclusive-or line at the mouse x, the values of the
// stored scan interpolated at its frequency in the column right of the plot
// box, and a dot on every open chart at the scan point under it.
#include "graph/cursor_readout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/readout_formats.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/complex.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

constexpr int kCursorBlue = Rgb(19, 19, 247);
constexpr int kDotFill = Rgb(255, 255, 0);
constexpr int kTdrSearchEntries = 1050;
const char kValueMask[] = "####.###              ";

// The text column right of the plot box, one line after the other.
struct Column {
  int tx = 0, ty = 0, s = 0;
  void Next(int advance) {
    ty += advance;
    MoveTo(main_win, tx, ty);
  }
  // The column must not run into the file-name panel under it.
  bool Room() const { return ty <= files_panel_y - s; }
};

// Right end of the column's lines: the window's edge. Each line is printed
// into its own area, which it first wipes, so no digit of a longer value
// shown there before stays beside a shorter one.
int column_right = 0;

void Print(const TextItems& items) {
  PrintInLine(main_win, column_right, items);
}

void Color(int c) {
  SetTextColor(main_win, c);
}

// The two stored points around the cursor frequency; every value shown lies
// on the straight line between them (the last point alone at the end).
struct Between {
  const double* freqs = nullptr;
  int i = 0, n = 0;
  double f = 0;
  bool Last() const { return i >= n - 1 || !(freqs[i + 1] > freqs[i]); }
  double Of(const double* a) const {
    if (Last()) return a[i];
    return a[i] + (a[i + 1] - a[i]) * (f - freqs[i]) / (freqs[i + 1] - freqs[i]);
  }
};

// The points the readout reads: those the graph shows of the stored scan of
// its port, never the rest of a halted scan (drawn dotted, repeating the
// last reading), nor a Port B scan's points in Port A mode or the other way
// round. A band scan's and the TDR trace's own.
int ReadoutPoints() {
  if (tdr_mode != 0 || bandscan_mode != 0) return scanloop;
  return std::min(scanloop, PortB_on != 0 ? StoredPointsB() : StoredPointsA());
}

// Decimals that show one digit of the scan step: 1 for a step of 1 MHz or
// more, 4 for 0.005 MHz.
int StepDecimals() {
  int e = 0;
  double step = last_step;
  while (e < 15 && RndDown(step) == 0) {
    step *= 10;
    ++e;
  }
  return e + 1;
}

// ---- TDR ----

// The stored TDR trace's own points and feet per sample: a redraw puts the
// plan back to the settings, whose count may be another. The plan's while no
// trace is stored.
bool TraceStored() {
  return tdr_trace_points >= 4;
}
int TracePoints() {
  return TraceStored() ? tdr_trace_points : Numpts;
}
double TraceFeetPerSample() {
  return TraceStored() ? tdr_feet_per_index : FeetPerNdx;
}

// Line impedance of the last TDR trace at window x, between the two plotted
// samples around it.
double TdrLineZ(int x) {
  const int last = std::min(TracePoints() / 2 - 1, kTdrSearchEntries - 1);
  if (last < 1) return 0;
  for (int k = 1; k <= last; ++k) {
    if (tdr_trace_table[k][0] < x) continue;
    const double x0 = tdr_trace_table[k - 1][0], z0 = tdr_trace_table[k - 1][1];
    const double x1 = tdr_trace_table[k][0], z1 = tdr_trace_table[k][1];
    if (x1 == x0) return z1;
    return z0 + (z1 - z0) * (x - x0) / (x1 - x0);
  }
  return tdr_trace_table[last][1];
}

void TdrLines(Column& c, double dist, double z) {
  const double rho = (z - tdr_zo) / (z + tdr_zo);
  SetDigits(2);
  Color(RedColor);
  if (metric == 0) {
    Print({"DISTANCE =", dist, " ft  "});
  } else {
    Print({"DISTANCE =", dist * 0.3048, " m   "});
  }
  cursor_distance = dist;
  c.Next(c.s + 10);
  Color(Green);
  Print({"Z_Line = ", z});
  cursor_zline = z;
  c.Next(c.s + 10);
  Color(Black);
  SetDigits(3);
  Print({"Refl coef = ", rho});
  c.Next(c.s + 10);
  std::string imag = "       ";
  if (Z0imag > 0.00001) imag = " + j" + NumStr(Z0imag);
  if (Z0imag < -0.00001) imag = " - j" + NumStr(std::fabs(Z0imag));
  Print({"Zref = " + FormatUsing("####.###", {Zref}) + imag + "     "});
  c.Next(c.s + 10);
  Print({"VF = ", VF});
  c.Next(c.s + 10);
  const double feet = TraceFeetPerSample();
  SetDigits(feet > 3.1 ? 1 : 2);
  if (metric == 0) {
    Print({"Resolution = ", feet / 2, " ft     "});
  } else {
    Print({"Resolution = ", feet * 0.1524, " m    "});
  }
  c.Next(c.s + 10);
  Print({tdr_high_res != 0 ? std::string("High Resolution") : std::string(56, ' ')});
  SetDigits(3);
}

// ---- Port B ----

// A time with the unit that keeps it readable.
void DelayOffsetLine(int decimals) {
  double d = delay_offset;
  std::string unit = " sec";
  if (std::fabs(d) < 1e-6) {
    d *= 1e9;
    unit = " ns";
  } else if (std::fabs(d) < 0.001) {
    d *= 1e6;
    unit = " us";
  }
  SetDigits(decimals);
  Print({"Delay Offset = ", d, unit, "      "});
}

void PortBLines(Column& c, const Between& b, bool swr_shown) {
  c.Next(c.s + 5);
  DelayOffsetLine(swr_shown ? 6 : 3);
  c.Next(c.s);
  Color(Green);
  if (plots21 != 0) {
    const double m = b.Of(s21_dB);
    Print({"S21_mag= ", m, " dB        "});
    c.Next(c.s);
    Print({"S21_mag Ratio= ", FormatEng(DbToRatio(m)), "     "});
  }
  c.Next(c.s);
  Color(plot_phaseS21 != 0 ? Magenta : Green);
  SetDigits(3);
  // Across the 180-degree wrap the lower point's phase is shown.
  const double p1 = scanB_phase[b.i] * 57.296;
  double phase = p1;
  if (!b.Last()) {
    const double p2 = scanB_phase[b.i + 1] * 57.296;
    if (std::fabs(p1 - p2) < 170)
      phase = p1 + (p2 - p1) * (b.f - b.freqs[b.i]) / (b.freqs[b.i + 1] - b.freqs[b.i]);
  }
  Print({"S21_phase= ", phase, "deg         "});
  if (plot_s11 != 0) {
    const double r = b.Of(scanB_s11rl);
    c.Next(c.s + 5);
    Color(Blue);
    Print({"S11_mag= ", r, " dB         "});
    c.Next(c.s);
    Print({"S11_mag Ratio= ", FormatEng(DbToRatio(r)), "     "});
    c.Next(c.s);
    Color(plot_phaseS11 != 0 ? Magenta : Blue);
    Print({"S11_phase= ", b.Of(scanB_s11phase) * 57.296, "deg         "});
  }
  c.Next(c.s + 5);
  Color(Orange);
  double d = b.Of(delay_B);
  std::string unit = " ns";
  if (std::fabs(d) > 1000000) {
    d *= 1e-6;
    unit = " ms";
  } else if (std::fabs(d) > 1000) {
    d *= 0.001;
    unit = " us";
  }
  Print({"Delay = ", d, unit, "         "});
  if (mux_chan > 0) {
    c.Next(2 * c.s);
    Color(RedColor);
    Print({"Channel = ", mux_chan});
  }
}

// ---- Port A ----

// An inductance (microhenry) or capacitance line of a reactance x at f MHz.
void ReactanceLine(const std::string& l_name, const std::string& c_name, const std::string& uh,
                   double x, double f, bool inductive, int blanks) {
  if (inductive) {
    double l = x / (2 * pi * f);
    std::string unit = uh;
    if (l < 0.85) {
      l *= 1000;
      unit = " nH";
    }
    Print({l_name, FormatUsing("####.#### ", {l}), unit + std::string(blanks, ' ')});
    return;
  }
  const double cap = -1000000 / (2 * pi * f * x);
  if (cap < 1700) {
    Print({c_name, FormatUsing("####.### ", {cap}), " pF               "});
  } else {
    Print({c_name, FormatUsing("###.##### ", {cap / 1000000}), " uF               "});
  }
}

// Where the impedance lies on the Smith chart's own reference, as a
// reflection coefficient in rectangular and polar form.
std::string SmithS11Text(double rs, double xs) {
  const Complex z{rs, xs}, zsm{Zsm_real, Zsm_imag};
  Complex num, den, s;
  CSub(num, z, zsm);
  CAdd(den, z, zsm);
  CDiv(s, num, den);
  const double b = std::fabs(s.i);
  const double mag = std::sqrt(s.r * s.r + b * b);
  // The angle of the coefficient in its own quadrant (an arctangent of the
  // ratio alone folds the left half of the chart onto the right).
  const double angle = std::atan2(s.i, s.r) * 57.3;
  return "s11= " + FormatUsing("#.####", {s.r}) + (s.i < 0 ? " - j" : " + j") +
         FormatUsing("#.####", {b}) + " = " + FormatUsing("#.####", {mag}) + "@" +
         FormatUsing("##.###", {angle}) + " deg   ";
}

// Exclusive-or dot: drawn once it shows, drawn again at the same place it
// is gone.
void Dot(Window& w, int x, int y) {
  SetPen(w, Rgb(0, 0, 0), kPenSolid, 1);
  SetFill(w, true, kDotFill);
  DrawCircle(w, x, y, 6);
  SetFill(w, false);
}

void MoveDot(Window& w, int& dot_x, int& dot_y, int x, int y) {
  SetXorMode(w, true);
  if (dot_x > 0) Dot(w, dot_x, dot_y);
  Dot(w, x, y);
  dot_x = x;
  dot_y = y;
  SetXorMode(w, false);
}

void ChartDots(int i, double rs, double xs) {
  const float y = 530 * win_yscale - 30;
  if (smith_active != 0) {
    Window& w = smith_win;
    MoveDot(w, smith_dot_x, smith_dot_y, smith_px[i], smith_py[i]);
    SetDigits(3);
    // Where the chart keeps them, under its buttons; each wipes its row.
    SetFont(w, "arial", font_size + 1, font_weight);
    SetTextColor(w, Rgb(0, 0, 0));
    SetTextBackground(w, true, bg_color);
    int right = 0, bottom = 0;
    ClientSize(w, right, bottom);
    MoveTo(w, 10, smith_readout_y);
    PrintInLine(w, right, {"Blue dot at", cursor_freq, " MHz"});
    MoveTo(w, 10, smith_readout_y + InkLineHeight(w));
    PrintInLine(w, right, {SmithS11Text(rs, xs)});
  }
  if (smith2_active != 0) {
    Window& w = smith2_win;
    MoveDot(w, smith2_dot_x, smith2_dot_y, smith2_px[i], smith2_py[i]);
    SetTextBackground(w, true, w.draw.text_bg);
    MoveTo(w, Rnd(375 * win_xscale - 200), Rnd(y));
    PrintItems(w, {"Blue dot at", cursor_freq, " MHz"});
  }
  if (polar_active != 0) MoveDot(polar_win, polar_dot_x, polar_dot_y, polar_px[i], polar_py[i]);
  SetXorMode(smith_win, false);
  SetTextColor(smith_win, Rgb(0, 0, 0));
  SetTextBackground(smith_win, smith_win.draw.text_opaque, bg_color);
}

void PortALines(Column& c, const Between& b, double v) {
  const double f = b.f;
  const double zm = b.Of(scanA_zmag);
  const double ph = b.Of(scanA_phase);
  const double rho = (v - 1) / (v + 1);
  c.Next(c.s);
  Color(Green);
  Print({"Zmag = ", FormatUsing(kValueMask, {zm})});
  cursor_zmag = zm;
  c.Next(c.s);
  Color(Magenta);
  Print({"Phase = ", FormatUsing(kValueMask, {ph * 57.296})});
  cursor_phase = ph * 57.296;
  c.Next(c.s);
  Color(Black);
  Print({"% refl power = " + FormatUsing("##.#              ", {rho * rho * 100})});
  const double rl = ReturnLossDb(rho);
  cursor_rl = rl;
  SetDigits(2);
  Color(Blue);
  if (plot_rt != 0) {
    c.Next(c.s);
    Print({"Return Loss= ", FormatUsing("##.##", {rl}), " dB               "});
    c.Next(c.s + 5);
    Color(RedColor);
    Print({"Short/Open Circuit:"});
    c.Next(c.s);
    Color(Black);
    Print({"  Cable Loss= ", FormatUsing("##.##", {rl * 0.5}), " dB               "});
  }
  c.Next(c.s + 10);
  Color(Green);
  SetDigits(3);
  Print({"Equivalent Circuit:"});
  const double rs_exact = zm * std::cos(ph);
  const double rs = rs_exact == 0 ? 1e-6 : rs_exact;
  const double xs = zm * std::sin(ph);
  c.Next(c.s);
  Color(Black);
  Print({"Rs = ", FormatUsing(kValueMask, {rs})});
  cursor_rs = rs;
  c.Next(c.s);
  Print({"Xs = ", FormatUsing(kValueMask, {xs})});
  cursor_xs = xs;
  c.Next(c.s);
  if (!c.Room()) return;
  const double q = std::fabs(xs / rs);
  if (q > 1000) {
    Print({"Q > 1000    "});
  } else {
    SetDigits(q > 100 ? 0 : 1);
    Print({"Q = " + NumStr(q) + "     "});
  }
  SetDigits(3);
  c.Next(c.s);
  if (!c.Room()) return;
  ReactanceLine("Ls = ", "Cs = ", "uH", xs, f, ph >= 0, 14);
  if (WinHeight > 550) {
    c.Next(c.s + 5);
    if (!c.Room()) return;
    const double rp = zm * zm / rs;
    if (rp < 100001) {
      Print({"Rp = ", FormatUsing(kValueMask, {rp})});
    } else {
      Print({"Rp > 100,000      "});
    }
    c.Next(c.s);
    if (!c.Room()) return;
    const double xp = xs == 0 ? 1000000 : zm * zm / xs;
    // Beside a huge Rp a huge Xp says no more than its sign.
    if (std::fabs(rp) < 50000 || std::fabs(xp) < 100000) {
      Print({"Xp = ", FormatUsing(kValueMask, {xp})});
    } else {
      Print({xp > 0 ? "Xp > 100K         " : "Xp < -100K      "});
    }
    c.Next(c.s);
    if (!c.Room()) return;
    ReactanceLine("Lp = ", "Cp = ", " uH", xp, f, xp >= 0, 15);
  }
  if (smith_active != 0 || smith2_active != 0 || polar_active != 0) {
    ChartDots(b.i, rs_exact, xs);
  }
}

}  // namespace

void CursorReadout(int x, int y) {
  if (x == cursor_x) return;
  Window& w = main_win;
  const int entry_decimals = number_decimals;
  // Arrow keys go to the graph again; a chart window under the mouse keeps
  // its place on the screen.
  if (msg_form == nullptr || msg_form == &main_win) FocusForm(main_win);
  SetPen(w, kCursorBlue ^ bg_color, kPenSolid, 1);
  const int n = ReadoutPoints();
  // Right of the last measured point there is nothing to read, even where a
  // halted scan drew its last reading on, dotted.
  int right = last_x_px;
  if (n > 0 && n < scanloop) {
    const double* freqs = PortB_on != 0 ? scanB_freq : scanA_freq;
    const double at = graph_left + (freqs[n - 1] - graph_start) * px_per_MHz;
    if (std::isfinite(at)) right = std::min(right, static_cast<int>(std::ceil(at)));
  }
  if (n <= 0 || y < graph_top || y > graph_bottom || x < graph_left || x > right) {
    SetXorMode(w, false);
    return;
  }
  SetXorMode(w, true);
  if (cursor_line_x > 0) DrawLine(w, cursor_line_x + 1, graph_top, cursor_line_x + 1, graph_bottom);
  DrawLine(w, x + 1, graph_top, x + 1, graph_bottom);
  cursor_line_x = x;
  SetXorMode(w, false);
  cursor_x = x;
  SetFont(w, "arial", font_size + 1, font_weight);

  double dist = 0, zline = 0;
  if (tdr_mode != 0) {
    dist = DXscale * (x - graph_left) / (graph_right - graph_left);
    zline = TdrLineZ(x);
  }

  double f = graph_start + (x - graph_left) / px_per_MHz;
  const double limit = fullscan != 0 ? graph_end : end_freq;
  if (f > limit) f = limit;
  Between b;
  b.freqs = PortB_on != 0 ? scanB_freq : scanA_freq;
  b.n = n;
  b.f = f;
  int k = 0;
  while (k < n && !(b.freqs[k] > f)) ++k;
  b.i = k < n ? k - 1 : n - 1;
  if (b.i < 0) return;
  cursor_index = b.i;
  cursor_freq = f;

  int client_h = 0;
  ClientSize(w, column_right, client_h);
  Column c;
  c.tx = info_x + 5;
  c.ty = graph_top + 5 * info_button_h + 5;
  // The column's font is a point larger than the graph's, whose height
  // text_height is: its lines are never closer than the rows each inks, or
  // each line's wipe would cut the one above it.
  c.s = std::max(text_height + 2, InkLineHeight(w));
  MoveTo(w, c.tx, c.ty);
  if (model_uhf > 0 && DIAGMODE > 0) {
    const int mhz = std::clamp(RndDown(f), 0, kFreqTableSize - 1);
    const int code = freq_mult_table[mhz];
    Print({"DDS_Mults = ", code / 32, ",", code & 31});
  }
  c.Next(c.s);
  if (tdr_mode == 0) {
    Color(Green);
    SetDigits(entry_decimals);
    Print({"Driver Amplitude =" + NumStr(DDS_Amplitude) + "% "});
    const int end_x = w.draw.pos_x;
    Print({"       "});
    if (full_current_mode != 0) {
      SetPen(w, Green);
      SetFill(w, true, Green);
      DrawCircle(w, end_x + 2, c.ty + 10, 2);
      SetFill(w, false);
    }
  }
  c.Next(c.s);
  if (tdr_mode != 0) {
    TdrLines(c, dist, zline);
    return;
  }

  const int decimals = StepDecimals();
  c.Next(10);
  Color(RedColor);
  SetDigits(decimals);
  Print({"Freq =" + NumStr(f) + "          "});
  c.Next(c.s);
  Color(Black);
  Print({"Freq Step =" + NumStr(last_step) + "         "});
  c.Next(c.s);
  SetDigits(3);
  const double v = std::fabs(b.Of(PortB_on != 0 ? scanB_swr : scanA_swr));
  cursor_swr = v;
  // In Port B mode only the Port B scan's own SWR trace makes it read the
  // SWR beside each point; without that trace no Port A reading was taken
  // beside its points.
  const bool swr_shown =
      PortB_on != 0 ? plot_swrB > 0 : plot_swrA > 0 || plot_rt > 0 || bandscan_mode > 0;
  if (swr_shown) {
    Color(RedColor);
    SetDigits(6);
    const bool spectrum = bandscan_mode != 0;
    std::string text = spectrum ? "Spectrum Mag = " : "SWR  = ";
    if (v < 1000) {
      text += FormatUsing("###.###", {v}) + (spectrum ? " dB      " : "         ");
    } else {
      text += " >1000      ";
    }
    Print({text});
  }
  if (PortB_on != 0) {
    PortBLines(c, b, swr_shown);
    return;
  }
  PortALines(c, b, v);
}

}  // namespace vna
