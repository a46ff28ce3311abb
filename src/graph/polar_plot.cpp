// Polar plot: rings, spokes, trace and full-scale buttons, and the wait
// while the window is up.
#include "graph/polar_plot.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/chart_drawing.h"
#include "graph/chart_handlers.h"
#include "graph/smith_chart.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

enum class PolarMode { kS11, kSwr, kZ };

struct ModeRow {
  double full[5];  // full scale by polar_scale
  const char* captions[5];
  const char* title_suffix;
  const char* mode_line;
  int digits;   // precision of the ring labels and the full-scale line
  double base;  // value at the centre
};

const ModeRow& Row(PolarMode m) {
  static const ModeRow rows[3] = {
      {{1.0, 0.5, 0.2, 0.1, 0.05},
       {"1.0", "0.5", "0.2", "0.1", "0.05"},
       " - S11",
       "Magnitude of S11,   Phase of S11",
       2,
       0},
      {{2.0, 1.5, 1.2, 1.1, 1.05},
       {"2.0", "1.5", "1.2", "1.1", "1.05"},
       " - SWR",
       "Magnitude of SWR,   Phase of S11",
       2,
       1},
      {{2000, 1000, 500, 200, 100},
       {"2K", "1K", "500", "200", "100"},
       " - Z",
       "Magnitude of Z,   Phase of S11",
       0,
       0},
  };
  return rows[static_cast<int>(m)];
}

PolarMode Mode() {
  if (polar_swr != 0) return PolarMode::kSwr;
  if (polar_z != 0) return PolarMode::kZ;
  return PolarMode::kS11;
}

// Distance of a point from the centre, pixels, at most the rim.
double Radius(PolarMode mode, double m, double rs, double xs, double R, double F) {
  double r = 0;
  switch (mode) {
    case PolarMode::kSwr:
      // |reflection| 1 or more is an infinite SWR: on the rim at its phase.
      r = m >= 1 ? R : ((1 + m) / (1 - m) - 1) * R / (F - 1);
      break;
    case PolarMode::kZ:
      r = std::sqrt(xs * xs + rs * rs) * R / F;
      break;
    case PolarMode::kS11:
      r = m * R / F;
      break;
  }
  return r > R ? R : r;
}

void DrawRings(Window& w, int cx, int cy, double R, const std::string labels[5]) {
  SetPen(w, Black, kPenSolid, 3);
  SetFill(w, true, chart_bg_color);
  DrawCircle(w, cx, cy, Rnd(R));
  SetFill(w, false);
  SetPen(w, Rgb(150, 150, 150), kPenSolid, 1);
  for (int k = 1; k <= 4; ++k) DrawCircle(w, cx, cy, Rnd(R * k / 5));
  DrawLine(w, Rnd(cx - R), cy, Rnd(cx + R), cy);
  DrawLine(w, cx, Rnd(cy + R), cx, Rnd(cy - R));
  const int d1 = Rnd(0.283 * R), d2 = Rnd(0.707 * R);
  DrawLine(w, cx - d1, cy - d1, cx - d2, cy - d2);
  DrawLine(w, cx + d1, cy - d1, cx + d2, cy - d2);
  DrawLine(w, cx + d1, cy + d1, cx + d2, cy + d2);
  DrawLine(w, cx - d1, cy + d1, cx - d2, cy + d2);
  SetTextBackground(w, false, w.draw.text_bg);
  SetTextColor(w, RedColor);
  SetFont(w, "arial", font_size - 1, 0);
  for (int k = 1; k <= 5; ++k) {
    int tw = 0, th = 0;
    TextExtent(w, labels[k - 1], tw, th);
    MoveTo(w, cx - tw / 2, Rnd(cy - R * k / 5));
    PrintText(w, labels[k - 1]);
  }
}

}  // namespace

void PolarPlot() {
  // The stored Port A scan's measured points, as the Smith chart draws.
  if (MeasuredPointsA() <= 2) return;
  const double s = 0.78 * chart_scale;
  const int W = Rnd(static_cast<float>(650 * win_yscale));
  const int H = Rnd(static_cast<float>(675 * win_yscale));
  const PolarMode mode = Mode();
  const ModeRow& row = Row(mode);
  const int scale = ChartStep(polar_scale);
  const double F = row.full[scale - 1];
  SetDigits(row.digits);
  std::string labels[5];
  for (int k = 1; k <= 5; ++k) labels[k - 1] = NumStr(row.base + (F - row.base) * k / 5);
  if (recycle_on == 0) {
    if (polar_active > 0) CloseWindow(polar_win);
    OpenWindow(polar_win, polar_x, polar_y, W, H, kWinCaption | kWinSysMenu | kWinMin | kWinMax,
               std::string("Polar Plot") + row.title_suffix, PolarHandler);
  }
  Window& w = polar_win;
  FocusForm(w);
  focus_win = 8;
  polar_open = 1;
  polar_closed = 0;
  polar_active = 1;
  const int cx = Rnd(static_cast<float>(win_yscale * smith_cx));
  const int cy = Rnd(static_cast<float>(win_yscale * smith_cy));
  const double R = static_cast<float>(250 * win_yscale);

  DrawRings(w, cx, cy, R, labels);
  SetTextBackground(w, true, w.draw.text_bg);
  SetTextColor(w, Black);
  SetFont(w, "arial", font_size, font_weight);
  SetDigits(mode == PolarMode::kZ ? 0 : 2);
  MoveTo(w, 5, 10);
  PrintItems(w, {"Full Scale= ", F});
  MoveTo(w, 5, 30);
  PrintText(w, ChartZrefText());
  // The mode line stands at the centre's x plus the radius, which with the
  // fixed centre is below the circle.
  MoveTo(w, 120, Rnd(cx + R));
  SetFont(w, "arial", font_size + 2, font_weight);
  PrintText(w, row.mode_line);
  SetFont(w, "arial", font_size, font_weight);
  FindMarkerPoints();

  TraceWalk t;
  StartTrace(t, w, cx, cy);
  const int n = std::min(MeasuredPointsA(), kChartPoints);
  for (int i = 0; i < n; ++i) {
    point_Rs = scanA_Rs[i];
    point_Xs = scanA_Xs[i];
    const Reflection g = ChartReflection(point_Rs, point_Xs);
    const double m = std::sqrt(g.re * g.re + g.im * g.im);
    double phi = std::atan(g.im / g.re);
    if (g.re < 0) phi += g.im > 0 ? pi : -pi;
    const double r = Radius(mode, m, point_Rs, point_Xs, R, F);
    const int x = ChartPixel(r * std::cos(phi)), y = ChartPixel(r * std::sin(phi));
    TraceStep(t, i, x, y);
    if (std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y) > R) {
      polar_px[i] = 100000;
    } else {
      polar_px[i] = cx + x;
      polar_py[i] = cy - y;
    }
  }
  EndTrace(t);

  ChartScaleButtons(w, s, W, 2201, row.captions, scale, true);
  AddControl(w, {CtlKind::Button, "Print", W - 110, H - 60, 100, 25, 0, 2206});
  polar_dot_x = polar_dot_y = 0;
  if (recycle_on == 0) {
    while (polar_open != 0) WaitEvents();
    CloseWindow(polar_win);
    // The Smith chart's shown flag is its own: a Smith chart still open keeps
    // its readout dot.
    polar_active = 0;
    FocusMainWindow();
  }
}

}  // namespace vna
