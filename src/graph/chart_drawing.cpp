#include "graph/chart_drawing.h"

#include "files/settings.h"
#include "graph/state.h"
#include "platform/ui.h"
#include "shell/text.h"

namespace vna {

Reflection ChartReflection(double r, double x) {
  const double a = r - Zsm_real, b = x - Zsm_imag;
  const double c = r + Zsm_real, d = x + Zsm_imag;
  const double n = c * c + d * d;
  return {(a * c + b * d) / n, (b * c - a * d) / n};
}

void StartTrace(TraceWalk& t, Window& win, int cx, int cy) {
  t = TraceWalk{};
  t.win = &win;
  t.cx = cx;
  t.cy = cy;
  SetPen(win, RedColor, kPenSolid, 2);
  SetDigits(3);
}

void TraceStep(TraceWalk& t, int i, int x, int y) {
  Window& w = *t.win;
  if (i == 0) {
    t.px = x;
    t.py = y;
  }
  SetPen(w, RedColor, kPenSolid, 2);
  DrawLine(w, t.cx + t.px, t.cy - t.py, t.cx + x, t.cy - y);
  if (markerena == 0 && i == 0) {
    SetPen(w, Magenta, kPenSolid, 2);
    SetFill(w, true, Magenta);
    DrawCircle(w, t.cx + x, t.cy - y, 4);
    SetFill(w, false);
  }
  if (markerena != 0) {
    SetTextColor(w, Green);
    SetTextBackground(w, false, w.draw.text_bg);
    SetFont(w, "arial", font_size + 1, font_weight);
    // The walk waits at marker k until the trace reaches its point; the
    // circle goes on the previous point, as the index is one ahead.
    if (t.marker <= kMaxMarkers && marker_points[t.marker] == i) {
      SetPen(w, RedColor, kPenSolid, 2);
      DrawCircle(w, t.cx + t.px, t.cy - t.py, 3);
      MoveTo(w, t.cx + t.px + 3, t.cy - t.py - 3);
      PrintText(w, NumStr(t.marker));
      ++t.marker;
    }
    SetTextBackground(w, true, w.draw.text_bg);
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
