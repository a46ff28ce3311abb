// The scale labels and titles of the traces, steps of DrawGraph: each trace's
// numbers along the left edge, the right edge or inside the box in the
// trace's colour, and its title above the box.
#include <algorithm>
#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "scan/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

// A scale whose whole value is odd gets labels with one decimal.
bool OddScale(double scale) {
  return Rnd(scale) % 2 != 0;
}

// y of a division line (k divisions below the top) plus an offset, rounded.
int DivY(double k, int offset = 0) {
  return Rnd(graph_top + k * grid_units_per_div + offset);
}

void BandScanScale() {
  Window& w = main_win;
  for (int k = 0; k <= 10; ++k) {
    const int y = Rnd(graph_zero_y - k * grid_units_per_div);
    MoveTo(w, graph_left - 30, y - 8);
    if (y >= graph_top - 2) PrintItems(w, {5 * k});
  }
  SetTextColor(w, RedColor);
  GraphPrint(10, line1_y, {"Spectrum (dB)"});
  SetTextColor(w, Black);
}

void SwrScale() {
  Window& w = main_win;
  SetTextColor(w, RedColor);
  SetPen(w, Black, kPenSolid, 2);
  const double div = grid_units_per_div;
  if (swr_log == 0) {
    const double p = swr_per_div;
    int offset = 40;
    if (p < 0.1) {
      offset = 55;
      SetDigits(3);
    } else if (p < 0.26) {
      offset = 45;
      SetDigits(2);
    } else {
      SetDigits(1);
    }
    const int label_x = PortB_on != 0 ? graph_left + 3 : graph_left - offset;
    for (int k = 0; k <= 10; ++k) {
      const int y = Rnd(graph_zero_y - k * div - swr_yoffset);
      MoveTo(w, label_x, y - 8);
      if (y >= graph_top - 2) {
        PrintItems(w, {1 + k * p});
        DrawLine(w, graph_left - 10, y, graph_left, y);
      }
    }
  } else {
    SetDigits(2);
    const double c = std::log10(swr_scale) * 0.230258;
    for (int k = 0; k <= 10; ++k) {
      const int y = Rnd(graph_zero_y - k * div);
      GraphPrint(graph_left - 52, y - 8, {std::exp(c * k)});
      DrawLine(w, graph_left - 10, y, graph_left, y);
    }
    SetDigits(1);
  }
}

// Four labels of a scale centred on the middle line: full, half, minus half
// and minus full scale, at the top, a quarter, three quarters and the bottom.
void CentredScale(int x, double scale, int top_offset) {
  GraphPrint(x, graph_top + top_offset, {scale});
  GraphPrint(x, DivY(5, -8), {scale * 0.5});
  GraphPrint(x, DivY(15, -8), {-0.5 * scale});
  GraphPrint(x, DivY(20, -8), {-scale});
}

void PortAScales() {
  Window& w = main_win;
  // Impedance.
  int tw = 0, th = 0;
  TextExtent(w, NumStr(zmag_scale), tw, th);
  int width = tw + 8;
  if (OddScale(zmag_scale)) {
    SetDigits(1);
    width += 10;
  } else {
    SetDigits(0);
  }
  SetTextColor(w, Black);
  if (plot_zmagA != 0 || plot_rsA != 0 || plot_rpA != 0) {
    CentredScale(graph_right - width, zmag_scale, 0);
  }
  SetFont(w, "Arial", font_size + 1, font_weight);
  // Return loss: the lower part of the box, 0.3 to 1.0 of the scale.
  if (plot_rt > 0) {
    SetTextColor(w, Blue);
    SetDigits(rtloss_scale > 1.001 ? 0 : 1);
    for (int k = 13; k <= 20; ++k) GraphPrint(17, DivY(k, -10), {rtloss_scale * (k - 10) * 0.1});
  }
  if (plot_Q != 0) {
    SetTextColor(w, RedColor);
    SetDigits(0);
    GraphPrint(15, graph_top - 8, {Q_scale});
    GraphPrint(15, DivY(5, -8), {Q_scale * 0.5});
  }
  std::string title = "        ";
  if (plot_ZphaseA != 0) {
    title = "Zphase       ";
    SetDigits(OddScale(phase_scale) ? 1 : 0);
    SetTextColor(w, Black);
    CentredScale(graph_right + 10, phase_scale, -8);
  }
  SetTextColor(w, Magenta);
  SetFont(w, "Arial", font_size + 1, 600);
  GraphPrint(graph_right + 10, line1_y - 2, {title});
  SetFont(w, "Arial", font_size + 1, font_weight);
}

// dB per division labels from division Zero_Ref (0 dB) down, one per
// division line.
void DbPerDivisionScale(int x, double per_div) {
  for (int k = 0; k <= 20; ++k) {
    const int y = DivY(k);
    const double value = per_div * (Zero_Ref - k);
    SetDigits(value > -100 ? 1 : 0);
    GraphPrint(x, y - 9, {value});
  }
}

void DelayScale() {
  Window& w = main_win;
  double d = delay_scale;
  SetDigits(0);
  std::string unit = "ns";
  if (d > 999999) {
    d = d / 1000000;
    unit = "ms";
  } else if (d > 999) {
    d = d * 0.001;
    unit = "us";
  }
  const std::string full = NumStr(d) + unit;
  const int f = d < 9.99 ? 1 : 0;
  SetDigits(f);
  const std::string half = NumStr(d * 0.5) + (unit == "ns" ? "ns " : unit);
  int tw = 0, th = 0;
  TextExtent(w, full, tw, th);
  const int width = tw + 8;
  GraphPrint(graph_right - width, graph_top + 2, {full});
  GraphPrint(graph_right - width - 10 * f, DivY(5, -8), {half});
  GraphPrint(graph_right - width - 5, graph_bottom - 12, {"-" + full});
  GraphPrint(graph_right - width - 10 * f - 5, Rnd(graph_bottom - 5 * grid_units_per_div - 8),
             {"-" + half});
}

void PortBScales() {
  Window& w = main_win;
  if (plots21 != 0) {
    SetTextColor(w, Green);
    GraphPrint(graph_left - 40, line1_y - 5, {"|S21|"});
  }
  SetTextColor(w, Black);
  if (plots21 != 0) DbPerDivisionScale(graph_left - 45, s21gain_scale);
  if (plot_delay != 0) DelayScale();
  std::string title = "        ";
  if (plot_ZphaseB != 0 || plot_phaseS21 != 0 || plot_phaseS11 != 0) {
    if (plot_phaseS21 != 0) title = "S21phase";
    if (plot_phaseS11 != 0) title = "S11phase";
    SetTextColor(w, Black);
    SetDigits(OddScale(s21phase_scale) ? 1 : 0);
    CentredScale(graph_right + 10, s21phase_scale, -8);
  }
  SetTextColor(w, Magenta);
  GraphPrint(graph_right + 10, line1_y - 4, {title});
}

void PortBDbScales() {
  Window& w = main_win;
  if (PortB_on == 0) return;
  if (plot_s11 != 0) {
    SetTextColor(w, Blue);
    SetDigits(0);
    for (int k = 0; k <= 20; ++k) GraphPrint(graph_left + 3, DivY(k, -10), {-3 * k});
    SetDigits(3);
  }
  if (plot_insloss != 0) {
    SetTextColor(w, Black);
    DbPerDivisionScale(graph_right - 45, insloss_scale);
  }
}

}  // namespace

void DrawTraceScales() {
  Window& w = main_win;
  if (bandscan_mode != 0) {
    BandScanScale();
  } else if (SwrTraceShown()) {
    SwrScale();
  }
  if (PortB_on == 0) PortAScales();
  if (PortB_on != 0 && plot_s11 != 0) {
    SetTextColor(w, Blue);
    GraphPrint(graph_left + 5, line1_y - 5, {"|S11|"});
  }
  if (PortB_on != 0) PortBScales();
  PortBDbScales();
}

void DrawTraceTitles() {
  Window& w = main_win;
  if (bandscan_mode == 0 && SwrTraceShown()) {
    int x = PortB_on != 0 ? graph_left + 10 : graph_left - 20;
    std::string text = "SWR";
    if (swr_log != 0) {
      text = "LogSWR";
      if (PortB_on == 0) x -= 27;
    }
    GraphPrint(x, line1_y, {text});
  }
  if (PortB_on == 0) {
    if (plot_Q != 0) GraphPrint(graph_left - 35, graph_top + 50, {"Q"});
    SetTextColor(w, Blue);
    SetFont(w, "Arial", font_size + 1, 600);
    if (plot_rt != 0) {
      // One letter every 15 pixels down from the middle line; a narrow
      // margin left of the box must not cut the unit at the window's edge.
      const int x = graph_left - 35, z = graph_zero_y;
      GraphPrint(x, z + 10, {"L"});
      GraphPrint(x, z + 25, {"O"});
      GraphPrint(x, z + 40, {"S"});
      GraphPrint(x, z + 55, {"S"});
      GraphPrint(std::max(graph_left - 45, 1), z + 70, {"(dB)"});
    }
    // Two title lines stand closer than a line of their font is high: drawn
    // without a background, the lower one leaves the upper one whole, and
    // the upper one keeps inside the window.
    const bool opaque = w.draw.text_opaque;
    SetTextBackground(w, false, w.draw.text_bg);
    MoveTo(w, graph_right - 45, std::max(line0_y - 1, 0));
    SetTextColor(w, Orange);
    if (plot_rsA != 0) {
      PrintText(w, "Rs,");
    } else if (plot_rpA != 0) {
      PrintText(w, "Rp,");
    }
    SetTextColor(w, Yellow);
    if (plot_rsA != 0) {
      PrintText(w, "Xs  ");
    } else if (plot_rpA != 0) {
      PrintText(w, "Xp ");
    }
    SetTextColor(w, Green);
    MoveTo(w, graph_right - 45, line1_y - 2);
    if (plot_zmagA != 0) PrintText(w, "Zmag ");
    SetTextBackground(w, opaque, w.draw.text_bg);
  }
  const bool opaque = w.draw.text_opaque;
  SetTextBackground(w, false, w.draw.text_bg);
  if (plot_insloss > 0 && PortB_on > 0) {
    SetTextColor(w, Orange);
    GraphPrint(graph_right - 55, line0_y, {"Insertion"});
    GraphPrint(graph_right - 55, line1_y, {"Loss   "});
  }
  if (plot_delay > 0 && PortB_on > 0) {
    SetTextColor(w, Orange);
    GraphPrint(graph_right - 45, std::max(line0_y - 2, 0), {"Group"});
    GraphPrint(graph_right - 45, line1_y - 4, {"Delay   "});
  }
  SetTextBackground(w, opaque, w.draw.text_bg);
}

}  // namespace vna
