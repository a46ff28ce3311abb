// Smith charts: grid, trace, markers and readouts, and the wait while the
// window is up.
#include "graph/smith_chart.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "files/settings.h"
#include "graph/chart_drawing.h"
#include "graph/chart_handlers.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "tools/scan_interpolation.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

struct Label {
  int x, y;  // position at chart scale 1, before the offset rule
};

// The grid of one zoom: circle values in drawing order, and the positions of
// the labelled ones, which are the first values of the list.
struct GridRow {
  std::vector<double> circles;
  std::vector<Label> labels;
};

const GridRow& Grid(int zoom) {
  static const std::vector<double> fine = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9,
                                           1,   1.2, 1.4, 1.6, 1.8, 2,   2.5, 5,   10};
  static const GridRow rows[5] = {
      {{0.1, 0.2, 0.5, 1, 2, 5, 10},
       {{65, 224}, {79, 179}, {163, 83}, {308, 36}, {439, 83}, {512, 180}, {525, 224}}},
      {fine,
       {{68, 225},
        {83, 175},
        {113, 129},
        {149, 94},
        {185, 66},
        {229, 49},
        {271, 40},
        {306, 40},
        {342, 42},
        {378, 52},
        {435, 87}}},
      {fine, {{69, 213}, {97, 154}, {135, 106}, {191, 67}, {250, 45}, {313, 40}, {395, 62}}},
      {{0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1, 1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.8, 2},
       {{77, 203}, {110, 137}, {171, 81}, {248, 44}, {348, 47}}},
      {{0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1, 1.1, 1.2, 1.3, 1.4, 1.6, 1.8, 2, 2.5},
       {{78, 192}, {130, 114}, {215, 60}, {337, 45}}},
  };
  return rows[zoom - 1];
}

// Size and centre of a chart window at chart_scale, and the radius of the
// unit circle at a zoom.
struct SmithGeometry {
  double s;    // 0.9 chart_scale
  int W, H;    // window size
  int cx, cy;  // centre
  double D;    // radius of the visible chart
  double P;    // radius of |reflection| = 1 at the zoom
  int zoom;
};

SmithGeometry Geometry(int zoom) {
  SmithGeometry g;
  g.s = 0.9 * chart_scale;
  g.W = g.H = Rnd(650 * g.s);
  g.cx = Rnd(g.s * smith_cx);
  g.cy = Rnd(g.s * smith_cy);
  g.D = 250 * g.s;
  g.zoom = zoom;
  g.P = g.D * zoom;
  return g;
}

// The ring around the chart in the window's background, which hides what
// the zoomed circles and the trace drew outside it.
void Mask(Window& w, const SmithGeometry& g) {
  SetFill(w, false);
  SetPen(w, bg_color, kPenSolid, 400);
  DrawCircle(w, g.cx, g.cy, Rnd(g.D + 201));
}

// The SWR ruler as a circle about the centre. A ruler below 1 has no circle
// (its radius would be negative).
void SwrCircle(Window& w, const SmithGeometry& g) {
  if (swr_ruler <= 0.9) return;
  const int u2 = Rnd(g.P / (1 / swr_ruler + 1));
  const int radius = Rnd(2.0 * u2 - g.P);
  if (swr_ruler < 1 || radius < 1) return;
  SetFill(w, false);
  SetPen(w, Green, kPenSolid, 1);
  DrawCircle(w, g.cx, g.cy, radius);
}

// Grid, masks, ruler circle, labels, axes and rim. The second chart draws
// its resistance labels smaller, placed by the chart scale, and its ruler
// circle under the mask.
void DrawGrid(Window& w, const SmithGeometry& g, bool second) {
  const GridRow& row = Grid(g.zoom);
  SetPen(w, Black, kPenSolid, 1);
  SetFill(w, true, chart_bg_color);
  DrawCircle(w, g.cx, g.cy, Rnd(g.D));
  SetFill(w, false);
  SetDigits(1);
  for (double v : row.circles) {
    SetPen(w, Black, kPenSolid, 1);
    const int u = Rnd(g.P / (v + 1));
    const int qx = Rnd(g.cx + g.P - u);
    DrawCircle(w, qx, g.cy, u);
    const int x = Rnd(g.P / v);
    const int xc = Rnd(g.cx + g.P);
    DrawCircle(w, xc, g.cy - x, x);
    DrawCircle(w, xc, g.cy + x, x);
    SetFont(w, "arial", second ? 6 : 7, 200);
    SetTextColor(w, Black);
    SetTextBackground(w, false, w.draw.text_bg);
    const float shift = second ? static_cast<float>(10 * g.s) : 10 * win_yscale;
    MoveTo(w, Rnd(static_cast<float>((qx - u) - shift)), g.cy);
    PrintItems(w, {v});
  }
  if (second) SwrCircle(w, g);
  Mask(w, g);
  if (!second) SwrCircle(w, g);
  const int lx0 = Rnd(304 * g.s), ly0 = Rnd(284 * g.s);
  SetFont(w, "arial", 7, 200);
  SetTextColor(w, Black);
  SetTextBackground(w, false, w.draw.text_bg);
  SetDigits(1);
  for (size_t j = 0; j < row.labels.size(); ++j) {
    const double v = row.circles[j];
    const int lx = Rnd(lx0 - g.s * row.labels[j].x), ly = Rnd(ly0 - g.s * row.labels[j].y);
    MoveTo(w, g.cx - lx, g.cy - ly);
    PrintText(w, NumStr(v));
    MoveTo(w, g.cx - lx, g.cy + ly - 15);
    PrintText(w, NumStr(-v));
  }
  SetTextBackground(w, true, w.draw.text_bg);
  SetPen(w, Black, kPenSolid, 1);
  DrawLine(w, Rnd(g.cx - g.D), g.cy, Rnd(g.cx + g.D), g.cy);
  DrawLine(w, g.cx, Rnd(g.cy - g.D), g.cx, Rnd(g.cy + g.D));
  SetPen(w, Black, kPenSolid, 3);
  DrawCircle(w, g.cx, g.cy, Rnd(g.D));
}

// The trace of the stored scan; `turn` in radians turns every point about
// the centre. Pixel positions go to px, py; a point outside the visible
// circle gets x 100000 unless `keep_outside`.
void DrawTrace(Window& w, const SmithGeometry& g, double turn, bool keep_outside, int* px_out,
               int* py_out) {
  TraceWalk t;
  StartTrace(t, w, g.cx, g.cy);
  const double sin_t = std::sin(turn), cos_t = std::cos(turn);
  const int n = std::min(MeasuredPointsA(), kChartPoints);
  for (int i = 0; i < n; ++i) {
    point_Rs = scanA_Rs[i];
    point_Xs = scanA_Xs[i];
    const Reflection r = ChartReflection(point_Rs, point_Xs);
    int x = ChartPixel(r.re * g.P), y = ChartPixel(r.im * g.P);
    if (turn != 0) {
      const int xt = Rnd(y * sin_t + x * cos_t);
      const int yt = Rnd(y * cos_t - x * sin_t);
      x = xt;
      y = yt;
    }
    TraceStep(t, i, x, y);
    if (!keep_outside && std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y) > g.D) {
      px_out[i] = 100000;
    } else {
      px_out[i] = g.cx + x;
      py_out[i] = g.cy - y;
    }
  }
  EndTrace(t);
}

// "Zref = ", "SWRref=" and, on the second chart, the rotation.
void Readouts(Window& w, bool second) {
  SetTextBackground(w, false, w.draw.text_bg);
  SetTextColor(w, Black);
  SetDigits(2);
  SetFont(w, "arial", font_size + 1, font_weight);
  MoveTo(w, 10, 10);
  PrintText(w, ChartZrefText());
  if (swr_ruler > 0.9) {
    MoveTo(w, 10, 25);
    PrintText(w, "SWRref=" + NumStr(swr_ruler));
  }
  SetTextBackground(w, true, White);
  if (second) {
    MoveTo(w, 10, 40);
    PrintText(w, "Phase=" + NumStr(smith_rotation));
  }
}

void StampLine(Window& w, int y) {
  MoveTo(w, 10, y);
  SetTextColor(w, Black);
  SetTextBackground(w, true, White);
  PrintText(w, graph_stamp);
}

const char* const kZoomCaptions[5] = {"1X", "2X", "3X", "4X", "5X"};

}  // namespace

void FindMarkerPoints() {
  for (int i = 1; i <= kMaxMarkers; ++i) marker_points[i] = -1;
  // The stored scan's own frequencies: the start and step in force may be
  // another scan's, and the list may have moved a point off a spur.
  const int n = StoredPointsA();
  if (markerena == 0 || n < 1) return;
  for (int i = 1; i <= kMaxMarkers; ++i) {
    const double f = markers[i].Freq;
    if (!(f < 9000) || f < scanA_freq[0] - 1e-9 || f > scanA_freq[n - 1] + 1e-9) continue;
    const StoredSpot at = SpotOf(scanA_freq, n, f);
    marker_points[i] = (at.t >= 0.5 ? at.k + 1 : at.k) + 1;
  }
}

void Smith() {
  SUB = "Smith";
  // The charts draw the stored Port A scan, its measured points: not the
  // count of the last scan of either port (a Port B scan's, a halted scan's
  // repeated rest) over arrays another measurement may have written since.
  if (MeasuredPointsA() <= 2 || tdr_mode != 0) {
    SUB = "";
    return;
  }
  const SmithGeometry g = Geometry(ChartStep(smith_zoom));
  if (recycle_on == 0) {
    if (smith_drawn > 0) CloseWindow(smith_win);
    OpenWindow(smith_win, smith_x, smith_y, g.W, g.H,
               kWinCaption | kWinSysMenu | kWinMin | kWinMax | kWinTopmost,
               " VNA Smith Chart  prog:" + prog_ver + prog_subver, SmithHandler);
  }
  if (smith2_active > 0) FocusForm(smith2_win);
  FocusForm(smith_win);
  focus_win = 5;
  smith_open = 1;
  smith_closed = 0;
  smith_drawn = 1;
  smith_active = 1;
  Zsm_real = Z0real;
  Zsm_imag = Z0imag;
  FindMarkerPoints();
  Window& w = smith_win;
  if (recycle_on == 0 || recycle_on * recycle_count > 0) DrawGrid(w, g, false);
  if (point_smith == 0) {
    DrawTrace(w, g, 0, false, smith_px, smith_py);
    Mask(w, g);
  }
  Readouts(w, false);
  // Under the chart its row of buttons, then the cursor's two lines, then
  // the scan's stamp, each on its own rows: the lines were placed by the
  // main window's size and fell behind the buttons or on the stamp.
  int tw = 0, th = 0;
  TextExtent(w, "Marker Data", tw, th);
  const int bw = tw + 30, bh = th + 4;
  const int x1 = (g.W - 3 * (bw + 2)) / 2, y1 = Rnd(g.H - 109 * g.s);
  smith_readout_y = (point_smith == 0 ? y1 + bh : y1) + 2;
  StampLine(w, smith_readout_y + 2 * InkLineHeight(w));
  ChartScaleButtons(w, g.s, g.W, 2201, kZoomCaptions, g.zoom, true);
  if (point_smith == 0) {
    AddControl(w, {CtlKind::Button, "Marker Data", x1, y1, bw, bh, 0, 2207});
    AddControl(w, {CtlKind::Button, "Print", x1 + bw, y1, bw, bh, 0, 2206});
    AddControl(w, {CtlKind::Button, "Close", x1 + 2 * bw, y1, bw, bh, 0, 2208});
  }
  smith_dot_x = smith_dot_y = 0;
  if (point_smith == 0 && recycle_on == 0) {
    while (smith_open != 0) WaitEvents();
    CloseWindow(smith_win);
    smith_drawn = 0;
    smith_active = 0;
    FocusMainWindow();
  }
  SUB = "";
}

void Smith_2() {
  SUB = "Smith_2";
  if (MeasuredPointsA() <= 2 || PortB_on != 0 || tdr_mode != 0) {
    SUB = "";
    return;
  }
  const SmithGeometry g = Geometry(ChartStep(smith2_zoom));
  if (smith2_active > 0) CloseWindow(smith2_win);
  OpenWindow(smith2_win, smith2_x, smith2_y, g.W, g.H,
             kWinCaption | kWinSysMenu | kWinMin | kWinTopmost,
             " VNA Smith Chart 2  prog:" + prog_ver + prog_subver, Smith2Handler);
  FocusForm(smith_win);
  FocusForm(smith2_win);
  focus_win = 6;
  smith2_open = 1;
  smith2_closed = 0;
  smith2_active = 1;
  FindMarkerPoints();
  Window& w = smith2_win;
  DrawGrid(w, g, true);
  DrawTrace(w, g, -2 * smith_rotation / (180 / pi), true, smith2_px, smith2_py);
  Mask(w, g);
  Readouts(w, true);
  StampLine(w, g.H - 50);
  ChartScaleButtons(w, g.s, g.W, 2301, kZoomCaptions, g.zoom, false);
  AddControl(w, {CtlKind::Button, "Print", g.W - 110, g.H - 60, 100, 25, 0, 2306});
  smith2_dot_x = smith2_dot_y = 0;
  while (smith2_open != 0) WaitEvents();
  CloseWindow(smith2_win);
  smith2_active = 0;
  FocusMainWindow();
  SUB = "";
}

}  // namespace vna
