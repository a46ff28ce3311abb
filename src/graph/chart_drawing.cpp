#include "graph/chart_drawing.h"

#include <algorithm>
#include <cmath>

#include "files/settings.h"
#include "graph/state.h"
#include "platform/ui.h"
#include "shell/text.h"

namespace vna {

namespace {

// Segments are drawn in batches of this many: few painter set-ups, and a
// small buffer used again and again.
constexpr size_t kSegmentBatch = 1024;

void FlushSegments(TraceWalk& t) {
  if (t.segments.empty()) return;
  SetPen(*t.win, RedColor, kPenSolid, 2);
  DrawSegments(*t.win, t.segments);
  t.segments.clear();
}

}  // namespace

Reflection ChartReflection(double r, double x) {
  const double a = r - Zsm_real, b = x - Zsm_imag;
  const double c = r + Zsm_real, d = x + Zsm_imag;
  const double n = c * c + d * d;
  return {(a * c + b * d) / n, (b * c - a * d) / n};
}

int ChartPixel(double offset) {
  constexpr double kFar = 1e6;                  // far beyond any window, far within an int
  return Rnd(std::clamp(offset, -kFar, kFar));  // no value (a point without angle): 0
}

void StartTrace(TraceWalk& t, Window& win, int cx, int cy) {
  t = TraceWalk{};
  t.win = &win;
  t.cx = cx;
  t.cy = cy;
  t.segments.reserve(4 * kSegmentBatch);
  SetPen(win, RedColor, kPenSolid, 2);
  SetDigits(3);
}

void EndTrace(TraceWalk& t) {
  Window& w = *t.win;
  FlushSegments(t);
  // With markers shown the walk leaves the marker text's font and colour.
  if (markerena != 0) {
    SetTextColor(w, Green);
    SetFont(w, "arial", font_size + 1, font_weight);
    SetTextBackground(w, true, w.draw.text_bg);
  }
}

void TraceStep(TraceWalk& t, int i, int x, int y) {
  Window& w = *t.win;
  if (i == 0) {
    t.px = x;
    t.py = y;
  }
  // The segments wait to be drawn together; a dot or a marker drawn over the
  // trace flushes them first, so every pixel ends as drawn in point order.
  t.segments.insert(t.segments.end(), {t.cx + t.px, t.cy - t.py, t.cx + x, t.cy - y});
  if (t.segments.size() >= 4 * kSegmentBatch) FlushSegments(t);
  if (markerena == 0 && i == 0) {
    FlushSegments(t);
    SetPen(w, Magenta, kPenSolid, 2);
    SetFill(w, true, Magenta);
    DrawCircle(w, t.cx + x, t.cy - y, 4);
    SetFill(w, false);
  }
  if (markerena != 0) {
    // The walk waits at marker k until the trace reaches its point; the
    // circle goes on the previous point, as the index is one ahead.
    if (t.marker <= kMaxMarkers && marker_points[t.marker] == i) {
      FlushSegments(t);
      SetTextColor(w, Green);
      SetTextBackground(w, false, w.draw.text_bg);
      SetFont(w, "arial", font_size + 1, font_weight);
      SetPen(w, RedColor, kPenSolid, 2);
      DrawCircle(w, t.cx + t.px, t.cy - t.py, 3);
      MoveTo(w, t.cx + t.px + 3, t.cy - t.py - 3);
      PrintText(w, NumStr(t.marker));
      SetTextBackground(w, true, w.draw.text_bg);
      ++t.marker;
    }
  }
  t.px = x;
  t.py = y;
}

void ChartScaleButtons(Window& win, double s, int W, int first_id, const char* const captions[5],
                       int current, bool scale_caption) {
  const int bw = Rnd(35 * s), bh = Rnd(20 * s);
  const int x0 = W - 5 * bw - 10;
  const int marked = Rgb(0, 240, 240);
  for (int k = 0; k < 5; ++k) {
    const int id = first_id + k;
    AddControl(win, {CtlKind::Button, captions[k], x0 + k * bw, 5, bw, bh, 0, id});
    SetCtlFont(win, id, "arial", font_size, 600);
    if (k + 1 == current) {
      SetCtlColors(win, id, Black, marked);
    } else {
      SetCtlColors(win, id, -1, -1);
    }
  }
  if (!scale_caption) return;
  int tw = 0, th = 0;
  TextExtent(win, "SCALE", tw, th);
  MoveTo(win, x0 + (5 * bw - tw) / 2, 5 + bh);
  SetTextBackground(win, true, marked);
  SetTextColor(win, Black);
  PrintText(win, "SCALE");
}

int ChartStep(int& setting) {
  if (setting < 1 || setting > 5) setting = 1;
  return setting;
}

std::string ChartZrefText() {
  return "Zref = " + FormatUsing("###.##  ##.##j", {Zsm_real, Zsm_imag});
}

}  // namespace vna
