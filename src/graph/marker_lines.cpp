#include "graph/marker_lines.h"

#include <cmath>

#include "files/settings.h"
#include "graph/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr int kMarkerLineColor = Rgb(0, 240, 240);

// The colour the ruler on the graph was drawn with: removing it with the
// same colour leaves no trace, whatever the text colour is by then.
int ruler_color = 0;

// Dashes of 8 pixels every 14 across the plot box, in exclusive-or.
void DashRow(int y, int color) {
  Window& w = main_win;
  SetPen(w, color, kPenSolid, 2);
  for (int x = graph_left; x < graph_right - 14; x += 14) DrawLine(w, x, y, x + 8, y);
}

}  // namespace

int SwrToY(double s) {
  if (swr_log == 0) return Rnd(graph_zero_y - (s - 1) * swr_yscale - swr_yoffset);
  return Rnd(graph_zero_y - std::log10(s) * swr_yscale);
}

void DrawMarkers() {
  Window& w = main_win;
  markers_drawn = markers_drawn == 0 ? 1 : 0;
  SetXorMode(w, true);
  SetPen(w, kMarkerLineColor, kPenDash, 1);
  SetFont(w, "Arial", font_size + 1, 600);
  for (int i = 1; i <= kMaxMarkers; ++i) {
    const double f = markers[i].Freq;
    if (!(f < maximumfreq)) continue;
    const double x_exact = graph_left + (f - graph_start) * px_per_MHz;
    if (!std::isfinite(x_exact)) continue;
    const int x = Rnd(x_exact);
    if (!(graph_left < x && x < graph_right)) continue;
    DrawLine(w, x, graph_top, x, graph_bottom);
    MoveTo(w, x - 7, graph_top + 3);
    SetTextColor(w, markers_drawn == 1 ? RedColor : bg_color);
    PrintText(w, NumStr(i));
  }
  SetFont(w, "Arial", font_size, 600);
  SetXorMode(w, false);
  SetPen(w, kMarkerLineColor, kPenSolid, trace_width);
  SetTextColor(w, Black);
}

void DrawSWRRuler(double value) {
  Window& w = main_win;
  SetXorMode(w, true);
  if (ruler_drawn == 1) {
    DashRow(SwrToY(swr_ruler), ruler_color);
    ruler_drawn = 0;
  }
  swr_ruler = value;
  if (value >= 1) {
    const int y = SwrToY(value);
    ruler_color = w.draw.text_color;
    DashRow(y, ruler_color);
    ruler_drawn = 1;
    SetXorMode(w, false);
    MoveTo(w, graph_left + 3, y - 6);
    SetTextColor(w, Cyan);
    SetFont(w, "ariel", font_size - 1, font_weight);
    PrintText(w, FormatUsing("#.##", {value}));
    SetFont(w, "ariel", font_size, font_weight);
  }
  SetXorMode(w, false);
  SetPen(w, w.draw.pen_color, kPenSolid, 1);
}

}  // namespace vna
