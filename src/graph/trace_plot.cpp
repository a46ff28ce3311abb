#include "graph/trace_plot.h"

#include <cmath>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

int trace_y[kPortATraces] = {};

namespace {

// Drawing state of one scan beyond the globals of graph/state.h.
int last_marker_x = 0;   // x of the last point that carried a circle or square
int circle_radius = 0;   // 3 at a point that carries a marker, else 0
int mult_changes = 0;    // multiplier code changes seen (diagnostic progress colours)
int last_mult_code = 0;  // the code at the previous point
int pen_style = kPenSolid, pen_width = 1;  // the pen of the segments at this point

int CycleColor() {
  return cycle_colors[color_index >= 0 && color_index < 8 ? color_index : 0];
}

// The lines of one point, drawn together in the order they were given when
// the point is done: a scan draws hundreds of thousands of short lines, and
// drawing each alone costs more than its pixels. A marker flushes them
// first, so it covers the lines before it and lies under those after it.
class PointLines {
 public:
  explicit PointLines(Window& w) : w_(w) {}
  ~PointLines() { Flush(); }
  PointLines(const PointLines&) = delete;
  PointLines& operator=(const PointLines&) = delete;

  Window& window() const { return w_; }
  void Add(int color, int style, int width, int x1, int y1, int x2, int y2) {
    if (n_ == kMax) Flush();
    lines_[n_++] = {color, style, width, x1, y1, x2, y2};
  }
  void Flush() {
    DrawPenLines(w_, lines_, n_);
    n_ = 0;
  }

 private:
  static constexpr size_t kMax = 16;
  Window& w_;
  PenLine lines_[kMax];
  size_t n_ = 0;
};

void ProgressStep(PointLines& lines) {
  const int k = (DIAGMODE != 0 && OSC == 2) ? -6 : -3;
  lines.Add(progress_color, kPenSolid, 3, last_x_px, graph_top + k, x_px, graph_top + k);
  if (DIAGMODE == 0) {
    progress_color = LightBlue;
  } else {
    if (mult_code != last_mult_code) ++mult_changes;
    last_mult_code = mult_code;
    progress_color = mult_changes % 2 != 0 ? RedColor : Green;
  }
}

void PlotTraceSegment(PointLines& lines, int y0, int y1, int color, int style, int marker_color,
                      bool light) {
  Window& w = lines.window();
  auto segment = [&](int c) { lines.Add(c, pen_style, pen_width, last_x_px, y0, x_px, y1); };
  if (light) {
    segment(color);
    return;
  }
  switch (style) {
    case kStylePlain:
      segment(color);
      break;
    case kStyleShortDash:
      if (trace_segments % 2 != 0) segment(color);
      break;
    case kStyleLongDash:
      if (trace_segments % 4 != 0) segment(color);
      break;
    case kStyleCircle:
      segment(color);
      if (circle_radius > 0) {
        lines.Flush();
        SetPen(w, marker_color, pen_style, pen_width);
        SetFill(w, false);
        DrawCircle(w, x_px, y1, circle_radius);
      }
      break;
    case kStyleSquare:
      segment(color);
      if (marker_px > 0) {
        lines.Flush();
        SetPen(w, marker_color, pen_style, pen_width);
        SetFill(w, false);
        DrawRect(w, x_px - marker_px / 2, y1 - marker_px / 2, marker_px, marker_px);
      }
      break;
    case kStyleWide:
      pen_style = kPenSolid;
      pen_width = trace_width + 2;
      segment(color);
      pen_width = trace_width;
      break;
    default:
      break;
  }
}

}  // namespace

int FreqToX(double f) {
  const double x = (f - graph_start) * px_per_MHz + graph_left;
  if (std::isnan(x)) return graph_left;
  const int px = Rnd(x);
  if (px < graph_left) return graph_left;
  if (px > graph_right) return graph_right;
  return px;
}

int TraceY(double y, int previous, bool top_only) {
  if (std::isnan(y)) return previous;
  int py = Rnd(y);
  if (py < graph_clip_top) py = graph_clip_top;
  if (!top_only && py > graph_clip_bottom) py = graph_clip_bottom;
  return py;
}

void ProgressStep() {
  PointLines lines(main_win);
  ProgressStep(lines);
}

void SetTracePen() {
  if (scan_running == 1) {
    pen_style = kPenSolid;
    pen_width = trace_width;
  } else {
    pen_style = kPenDot;
    pen_width = 1;
  }
}

void MarkerSpacing() {
  if (x_px - last_marker_x > 20) {
    circle_radius = 3;
    marker_px = 6;
    last_marker_x = x_px;
  } else {
    circle_radius = 0;
    marker_px = 0;
  }
}

void SetTracePen(int style, int width) {
  pen_style = style;
  pen_width = width;
}

void PlotTraceSegment(int y0, int y1, int color, int style, int marker_color, bool light) {
  PlotTraceSegment(main_win, y0, y1, color, style, marker_color, light);
}

void PlotTraceSegment(Window& w, int y0, int y1, int color, int style, int marker_color,
                      bool light) {
  PointLines lines(w);
  PlotTraceSegment(lines, y0, y1, color, style, marker_color, light);
}

void StartTracePlot() {
  last_x_px = graph_left;
  trace_segments = 0;
  last_marker_x = 0;
  zmag_y_step = 0;
  mult_changes = 0;
  last_mult_code = mult_code;
  progress_color = (DIAGMODE > 0 && model_uhf > 0) ? RedColor : LightBlue;
  SetPen(main_win, bg_color, kPenSolid, 2);
  DrawLine(main_win, last_x_px, graph_top - 2, graph_right, graph_top - 2);
}

void EndTracePlot() {
  if (DIAGMODE != 0) return;
  SetPen(main_win, bg_color, kPenSolid, 3);
  DrawLine(main_win, graph_left, graph_top - 3, graph_right, graph_top - 3);
}

void PlotPointA() {
  x_px = FreqToX(smoothing != 0 ? freq_plot : freq);
  int y[kPortATraces];
  const int* prev = trace_y;
  const double zero = graph_zero_y;
  const bool swr_on = plot_swrA != 0, q_on = plot_Q != 0 && !swr_on;
  if (swr_on) {
    const double at = swr_log != 0 ? zero - std::log10(swr) * swr_yscale
                                   : zero - (swr - 1) * swr_yscale - swr_yoffset;
    y[kTraceSwrQ] = TraceY(at, prev[kTraceSwrQ], true);
  } else if (q_on) {
    const double q = std::fabs(point_Xs) / (point_Rs + 0.00001);
    y[kTraceSwrQ] = TraceY(zero - q * q_yscale, prev[kTraceSwrQ], true);
  } else {
    y[kTraceSwrQ] = prev[kTraceSwrQ];
  }
  const bool series = plot_rsA != 0;
  y[kTraceRs] = TraceY(zero - (series ? point_Rs : Rp) * zmag_yscale, prev[kTraceRs]);
  y[kTraceXs] = TraceY(zero - (series ? point_Xs : Xp) * zmag_yscale, prev[kTraceXs]);
  y[kTraceZmag] = TraceY(zero - Zmag * zmag_yscale, prev[kTraceZmag]);
  y[kTraceReturnLoss] = TraceY(zero - return_loss * rtloss_yscale, prev[kTraceReturnLoss]);
  y[kTracePhase] = TraceY(zero - Zphase * 57.296 * phase_yscale, prev[kTracePhase]);

  PointLines lines(main_win);
  ProgressStep(lines);
  zmag_y_step = 0;
  if (trace_segments > 0) {
    zmag_y_step = std::abs(y[kTraceZmag] - prev[kTraceZmag]);
    SetTracePen();
    const bool light = alt_colors == 1;
    if (!light) MarkerSpacing();
    const bool rx_on = plot_rsA != 0 || plot_rpA != 0;
    struct Trace {
      bool shown;
      int index, color, light_color, style;
    };
    const Trace traces[] = {
        {swr_on || q_on, kTraceSwrQ, RedColor, LightRed, swrstyle},
        {rx_on, kTraceXs, Yellow, LightYellow, xsstyle},
        {rx_on, kTraceRs, Orange, LightOrange, rsstyle},
        {plot_zmagA != 0, kTraceZmag, CycleColor(), CycleColor(), zmagstyle},
        {plot_rt != 0, kTraceReturnLoss, Blue, LightBlue, rtstyle},
        {plot_ZphaseA != 0, kTracePhase, Magenta, LightMagenta, phasestyle},
    };
    for (const Trace& t : traces) {
      if (!t.shown) continue;
      int color = light ? t.light_color : t.color;
      // The |Z| line is green under circles and squares of its cycle colour.
      if (!light && t.index == kTraceZmag && (t.style == kStyleCircle || t.style == kStyleSquare))
        color = Green;
      PlotTraceSegment(lines, prev[t.index], y[t.index], color, t.style, t.color, light);
    }
  }
  last_x_px = x_px;
  for (int i = 0; i < kPortATraces; ++i) trace_y[i] = y[i];
  ++trace_segments;
}

}  // namespace vna
