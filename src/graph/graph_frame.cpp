#include "graph/graph_frame.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/clear_graph.h"
#include "graph/freq_grid.h"
#include "graph/info_panel.h"
#include "graph/marker_lines.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "scan/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

// Scales of shown traces that could not be drawn by the last frame: the
// scale's name as the Graph Scales dialog shows it, and its value.
struct BadScale {
  std::string name;
  double value;
};
std::vector<BadScale> bad_scales;

// numerator / divisor, or 0 when that is no finite factor; a shown trace
// then has its scale setting (`setting`) named in the notice.
double Factor(double numerator, double divisor, bool shown, const char* name, double setting) {
  if (std::isfinite(divisor) && divisor != 0) {
    const double f = numerator / divisor;
    if (std::isfinite(f)) return f;
  }
  if (shown) bad_scales.push_back({name, setting});
  return 0;
}
double Factor(double numerator, double scale, bool shown, const char* name) {
  return Factor(numerator, scale, shown, name, scale);
}

double SwrPerDivision(double scale) {
  struct Row {
    double below, per_div;
  };
  static constexpr Row kRows[] = {{1.5, 0.025}, {1.6, 0.05}, {2.01, 0.1}, {2.81, 0.2},
                                  {3.26, 0.25}, {5.51, 0.5}, {10.1, 1},   {20.1, 2},
                                  {30.1, 3},    {40.1, 4},   {50.1, 5},   {60.1, 6}};
  for (const Row& r : kRows) {
    if (scale < r.below) return r.per_div;
  }
  return 10;
}

// Label intervals of the frequency axis and divisions per interval.
void AxisIntervals(int divs, int& intervals, int& per_interval) {
  struct Row {
    int divs, intervals, per_interval;
  };
  static constexpr Row kRows[] = {{20, 5, 4},  {18, 6, 3}, {16, 4, 4}, {15, 5, 3}, {14, 7, 2},
                                  {13, 13, 1}, {12, 6, 2}, {10, 5, 2}, {9, 9, 1},  {8, 4, 2},
                                  {7, 7, 1},   {6, 6, 1},  {5, 5, 1}};
  intervals = divs;
  per_interval = 1;
  for (const Row& r : kRows) {
    if (r.divs == divs) {
      intervals = r.intervals;
      per_interval = r.per_interval;
    }
  }
}

// Unit and patterns of the frequency labels for a division width.
struct AxisFormat {
  const char* unit;
  double unit_factor;       // MHz to the unit of the per-division label
  const char* pattern;      // axis labels, in MHz
  const char* div_pattern;  // the per-division label, in the unit
};

AxisFormat FormatFor(double per_div) {
  if (per_div < 0.0009999) return {" Hz", 1000000, "#.####", "####.#"};
  if (per_div < 0.010001001) return {" KHz", 1000, "#.####", "#.####"};
  if (per_div < 0.10010001) return {" MHz", 1, "#.###", "#.###"};
  if (per_div < 1.00000011) return {" MHz", 1, "#.##", "#.##"};
  if (per_div < 10.0000001) return {" MHz", 1, "#.#", "#.#"};
  return {" MHz", 1, "#.0", "#.0"};
}

void DrawBoxAndGrid() {
  Window& w = main_win;
  const double div = grid_units_per_div;
  SetPen(w, Black, kPenSolid, 2);
  SetFont(w, "Arial", font_size + 1, font_weight);
  DrawLine(w, graph_left, graph_zero_y, graph_right, graph_zero_y);
  DrawLine(w, graph_left, graph_top, graph_left, graph_bottom);
  DrawLine(w, graph_right, graph_top, graph_right, graph_bottom);

  SetPen(w, grid_line_color, kPenSolid, 1);
  for (int k = 0; k <= 20; ++k) {
    const int y = Rnd(graph_top + k * div);
    DrawLine(w, graph_left + 1, y, graph_right - 1, y);
  }
  if (grid_highlight != 0) {
    SetPen(w, grid_color, kPenSolid, 1);
    const int d = Rnd(5 * div);
    for (int y : {graph_top, graph_bottom, graph_zero_y - d, graph_zero_y + d}) {
      DrawLine(w, graph_left, y, graph_right, y);
    }
  }
  for (int i = 1; i <= freq_divs - 1; ++i) {
    const int x = Rnd(graph_left + freq_per_div * i * px_per_MHz);
    SetPen(w, grid_line_color, kPenSolid, 1);
    DrawLine(w, x, graph_top, x, graph_bottom);
    SetPen(w, Black, kPenSolid, 1);
    DrawLine(w, x, graph_zero_y - 3, x, graph_zero_y + 3);
  }

  SetPen(w, Black, kPenSolid, 2);
  SetTextColor(w, Black);
  SetDigits(1);
  for (int k = 0; k <= 20; ++k) {
    const int y = Rnd(graph_top + k * div);
    const int len = k % 5 == 0 ? 10 : 6;
    DrawLine(w, graph_left - len, y, graph_left, y);
    DrawLine(w, graph_right - len - 1, y, graph_right + len, y);
  }
}

void DrawFrequencyAxis(const AxisFormat& fmt) {
  Window& w = main_win;
  SetPen(w, Black, kPenSolid, 1);
  int n = 1, t = 1;
  AxisIntervals(freq_divs, n, t);
  const int spacing = Rnd(static_cast<double>(graph_right - graph_left) / n);
  SetDigits(2);
  SetTextColor(w, Black);
  const int label_y = graph_zero_y + 10;
  GraphPrint(graph_left + 5, label_y, {FormatUsing(fmt.pattern, {graph_start})});
  for (int i = 1; i <= n - 1; ++i) {
    const int label_x = graph_left - 10 + i * spacing;
    const int tick_x = Rnd(graph_left + px_per_MHz * freq_per_div * i * t + 0.5);
    if (grid_highlight != 0) {
      SetPen(w, grid_color, kPenSolid, 1);
      DrawLine(w, tick_x, graph_top, tick_x, graph_bottom);
    }
    SetPen(w, Black, kPenSolid, 1);
    DrawLine(w, tick_x, graph_zero_y - 5, tick_x, graph_zero_y + 5);
    DrawLine(w, tick_x - 1, graph_zero_y - 5, tick_x - 1, graph_zero_y + 5);
    GraphPrint(label_x, label_y, {FormatUsing(fmt.pattern, {freq_per_div * i * t + graph_start})});
  }
  const std::string end_text = FormatUsing(fmt.pattern, {graph_end});
  int tw = 0, th = 0;
  TextExtent(w, end_text, tw, th);
  GraphPrint(graph_right - tw - 5, label_y, {end_text});
  SetDigits(3);
  SetTextColor(w, RedColor);
  SetFont(w, "Arial", font_size + 1, 700);
}

void DrawS21Rulers() {
  if (PortB_on <= 0 || (ruler1_on == 0 && ruler2_on == 0)) return;
  Window& w = main_win;
  SetDigits(s21gain_scale > 20 ? 0 : 1);
  SetFont(w, "arial", font_size, 0);
  auto ruler = [&](double level, int color) {
    const int y = Rnd(grid_units_per_div * Zero_Ref + (graph_top - s21mag_yscale * level));
    if (!(graph_top < y && y < graph_bottom)) return;
    SetPen(w, color, kPenSolid, 1);
    DrawLine(w, graph_left, y, graph_right, y);
    SetTextColor(w, color);
    MoveTo(w, graph_right - 30, y - 15);
    PrintItems(w, {level});
  };
  if (ruler1_on != 0) ruler(ruler_1, RedColor);
  if (ruler2_on != 0) {
    ruler(ruler_2, Blue);
    SetTextColor(w, Black);
    SetDigits(3);
    SetFont(w, "arial", font_size, font_weight);
  }
}

// What a damaged scale setting leaves: a frame whose trace lies flat, and a
// line saying which setting to change.
void DrawScaleNotices() {
  Window& w = main_win;
  SetTextColor(w, RedColor);
  SetFont(w, "Arial", font_size + 1, 600);
  int y = graph_top + 10;
  for (const BadScale& b : bad_scales) {
    GraphPrint(graph_left + 10, y,
               {b.name + " scale of" + NumStr(b.value) +
                " cannot be drawn: set it with the Scales button"});
    y += text_height + 2;
  }
  SetTextColor(w, Black);
}

}  // namespace

void GraphPrint(int x, int y, const TextItems& items) {
  MoveTo(main_win, x, y);
  PrintItems(main_win, items);
}

bool SwrTraceShown() {
  return (PortB_on == 0 && plot_swrA > 0) || (PortB_on > 0 && plot_swrB > 0);
}

void ComputeGraphFactors() {
  bad_scales.clear();
  s11gain_scale = -60;
  graph_mid_x = (graph_left + graph_right) / 2;
  grid_units_per_div = (graph_bottom - graph_top) * 0.5 / 10;
  px_per_MHz = (graph_right - graph_left) / (graph_end - graph_start);
  if (!std::isfinite(px_per_MHz)) px_per_MHz = 0;
  // The offset is on while it is not 0: a plot box too low for a whole
  // pixel per division keeps it at 1, so a larger window brings the full
  // division back.
  if (swr_yoffset != 0) swr_yoffset = std::max(1, Rnd(grid_units_per_div));
  swr_per_div = SwrPerDivision(swr_scale);
  graph_clip_top = graph_top;
  graph_clip_bottom = graph_bottom;
  graph_zero_y = Rnd(graph_top + 10 * grid_units_per_div);
  const double half = (graph_bottom - graph_top) * 0.5;

  const bool port_a = PortB_on == 0, port_b = PortB_on > 0;
  if (swr_log != 0) {
    const double decade = std::log10(swr_scale);
    swr_yscale = Factor(half, decade, SwrTraceShown() && bandscan_mode == 0, "LogSWR", swr_scale);
  } else {
    swr_yscale = grid_units_per_div / swr_per_div;
  }
  zmag_yscale = Factor(half, zmag_scale,
                       port_a && (plot_zmagA != 0 || plot_rsA != 0 || plot_rpA != 0), "Zmag");
  phase_yscale = Factor(half, phase_scale, port_a && plot_ZphaseA != 0, "Zphase");
  q_yscale = Factor(half, Q_scale, port_a && plot_Q != 0, "Q");
  if (std::fabs(rtloss_scale) > 80) rtloss_scale = 80;
  if (std::fabs(rtloss_scale) < 1) rtloss_scale = 1;
  rtloss_yscale = Factor(half, rtloss_scale, port_a && plot_rt != 0, "Return Loss");
  delay_yscale = Factor(half, delay_scale, port_b && plot_delay != 0, "Group Delay");
  s21phase_yscale =
      Factor(half, s21phase_scale,
             port_b && (plot_ZphaseB != 0 || plot_phaseS21 != 0 || plot_phaseS11 != 0), "S21phase");
  s21mag_yscale = Factor(grid_units_per_div, s21gain_scale, port_b && plots21 != 0, "S21mag");
  pwr_yscale =
      Factor(grid_units_per_div, insloss_scale, port_b && plot_insloss != 0, "Insertion Loss");
  s11_yscale = (graph_top - graph_bottom) / s11gain_scale;
}

void DrawGraph() {
  Window& w = main_win;
  FreqGrid();
  ComputeGraphFactors();
  ClearGraph();
  DrawBoxAndGrid();
  DrawTraceScales();
  const AxisFormat fmt = FormatFor(freq_per_div);
  DrawFrequencyAxis(fmt);
  DrawTraceTitles();

  SetTextColor(w, Black);
  SetFont(w, "Arial", font_size + 1, 600);
  if (freq_per_div < 0.05) SetDigits(5);
  GraphPrint(graph_mid_x - 80, graph_zero_y + 30,
             {"FREQ (" + FormatUsing(fmt.div_pattern, {freq_per_div * fmt.unit_factor}) + fmt.unit +
              "/div)"});

  SetTextColor(w, RedColor);
  if (ref_to_antenna != 0) GraphPrint(graph_mid_x - 50, 0, {"Ref to Antenna      "});
  if (SwrTraceShown()) DrawSWRRuler(swr_ruler);
  DrawS21Rulers();
  DrawTitle();
  DrawFilesPanel();
  if (bandskip != 0) {
    SetTextColor(w, RedColor);
    GraphPrint(graph_mid_x - 50, graph_bottom - 20, {"Band Skip is ON"});
    SetTextColor(w, Black);
  }
  InfoPanel(0);
  SetTextColor(w, RedColor);
  if (bandscan_mode != 0) {
    GraphPrint(graph_mid_x - 50, graph_bottom - 50, {"BAND SCAN MODE"});
    if (bandscan_sens == 2) PrintText(w, "-high sens");
  }
  SetTextColor(w, Black);
  if (markerena == 1) {
    markers_drawn = 0;
    DrawMarkers();
  }
  if (!bad_scales.empty()) DrawScaleNotices();
}

}  // namespace vna
