#include "graph/clear_graph.h"

#include <cmath>

#include "files/settings.h"
#include "graph/state.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {

namespace {

struct BandLabel {
  int preset;
  const char* label;
  double lo, hi;  // the band's middle must lie strictly between them
};

// In drawing order; the 2 m band tests its middle rounded to a whole MHz.
constexpr BandLabel kBands[] = {
    {1, "160M", 1.8, 2},   {2, "80M", 3.5, 4},    {4, "40M", 7, 7.3},    {5, "30M", 10.1, 10.2},
    {6, "20M", 14, 14.35}, {8, "15M", 21, 21.45}, {10, "10M", 28, 29.7}, {11, "6M", 50, 54},
    {12, "2M", 144, 148},  {3, "60M", 5.2, 5.5},  {7, "17M", 18, 18.3},  {9, "12M", 24.8, 25},
};

}  // namespace

void ClearGraph() {
  Window& w = main_win;
  const int top = (recycle_count > 0 && recycle_on > 0) ? graph_top : 1;
  SetPen(w, bg_color, kPenSolid, 1);
  SetFill(w, true, bg_color);
  DrawRect(w, 1, top, WinWidth, graph_bottom + text_height + 6);
  SetFill(w, false);
  cursor_line_x = 0;
  // The Cursor Data window's two lines went with the picture too.
  cursor1_x = 0;
  cursor2_x = 0;
  if (tdr_mode == 0 && highlight > 0) DrawBands();
  ruler_drawn = 0;
  alt_colors = 0;
  tdr_show_params = 1;
  tdr_overlay = 1;
}

void DrawBands() {
  Window& w = main_win;
  SetFont(w, "arial", font_size - 2, 200);
  SetTextColor(w, Black);
  for (const BandLabel& b : kBands) {
    const double lo = band_start[b.preset], hi = band_end[b.preset];
    if (!(hi > graph_start && lo < graph_end)) continue;
    const double x1_exact = graph_left + (lo - graph_start) * px_per_MHz;
    const double x2_exact = graph_left + (hi - graph_start) * px_per_MHz;
    if (!std::isfinite(x1_exact) || !std::isfinite(x2_exact)) continue;
    int x1 = Rnd(x1_exact);
    if (x1 <= graph_left) x1 = graph_left + 1;
    int x2 = Rnd(x2_exact);
    if (x2 >= graph_right) x2 = graph_right - 1;
    SetPen(w, band_color, kPenSolid, 1);
    SetFill(w, true, band_color);
    DrawRect(w, x1, graph_top, x2 - x1, graph_bottom - graph_top);
    SetFill(w, false);
    const double mid = (lo + hi) / 2;
    const double test = b.preset == 12 ? Rnd(mid) : mid;
    if (test > b.lo && test < b.hi) {
      MoveTo(w, x1, graph_top);
      PrintText(w, b.label);
      MoveTo(w, x1, graph_bottom - 15);
      PrintText(w, b.label);
    }
  }
  SetFont(w, "arial", font_size + 1, font_weight);
}

}  // namespace vna
