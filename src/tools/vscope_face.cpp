// The polar face of the Vector Scope and the element vectors on it. Element
// 1 is the reference: every other element is drawn with its magnitude ratio
// and phase difference to it.
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"
#include "tools/vector_scope.h"

namespace vna {
namespace {

// The full scale picked in the box; anything else, an empty text included,
// is 1.
double FullScaleOf(const std::string& text) {
  const double v = ParseNumber(text);
  for (double fs : {5.0, 2.0, 1.0, 0.5, 0.2, 0.1}) {
    if (std::fabs(v - fs) < 0.01) return fs;
  }
  return 1;
}

void Text(int x, int y, const std::string& s) {
  MoveTo(win_vector_scope, x, y);
  PrintText(win_vector_scope, s);
}

// Radius of a vector of ratio m on the decibel scale, which only the
// Reference Circles dialog could select.
double DbRadius(double m, int R) {
  const double db = 20 * std::log10(m);
  const double span = vscope_circles * vscope_db_spacing;
  if (std::fabs(db) > std::fabs(span)) return 0;
  return R * (1 - db / span);
}

}  // namespace

int DrawVectorScope() {
  Window& w = win_vector_scope;
  const int cx = vscope_cx, cy = vscope_cy, R = vscope_radius;
  int n = vscope_circles - 1;
  if (n < 0 || n > 999) {
    MsgBox(&main_win, "Invalid number of circles = " + NumStr(n), " Vector Scope error 78321",
           kMbOk, kIconExclamation, false);
    n = 0;
  }
  const double fs = FullScaleOf(GetCtlText(w, kVsFullScale));
  vscope_full_scale = fs;

  SetTextColor(w, Black);
  SetTextBackground(w, false, White);
  SetPen(w, Black, kPenSolid, 2);
  SetFill(w, true, White);
  DrawCircle(w, cx, cy, R + 2);
  SetFill(w, false);
  SetPen(w, Black, kPenSolid, 1);
  DrawLine(w, cx - R, cy, cx + R, cy);
  DrawLine(w, cx, cy - R, cx, cy + R);

  const int d = Rnd(0.707 * R);
  const int o = d + 3;
  SetPen(w, Black, kPenDot, 1);
  DrawLine(w, cx - d, cy + d, cx + d, cy - d);
  Text(cx + o, cy + o, "-45");
  Text(cx + o, cy - o - 16, "+45");
  DrawLine(w, cx - d, cy - d, cx + d, cy + d);
  Text(cx - o - 33, cy + o - 7, "-135");
  Text(cx - o - 35, cy - o - 12, "+135");
  SetPen(w, Black, kPenSolid, 1);
  Text(cx + R + 4, cy - 8, "0");
  Text(cx - 10, cy + R + 2, "-90");
  Text(cx - 10, cy - R - 20, "+90");

  const int s = R / 10;
  SetDigits(fs >= 0.2001 ? 1 : 2);
  for (int k = 1; k <= n; ++k) {
    const double fk = static_cast<double>(k) / (n + 1);
    const int rk = Rnd(R * fk);
    if (k == 1) {
      SetPen(w, light_grey_color, kPenSolid, 1);
      DrawCircle(w, cx, cy, rk - s);
    }
    SetPen(w, LightGreen, kPenSolid, 1);
    DrawCircle(w, cx, cy, rk);
    SetPen(w, light_grey_color, kPenSolid, 1);
    DrawCircle(w, cx, cy, rk + s);
    const double label = vscope_linear != 0 ? fs * fk : vscope_db_spacing * (n - k + 1);
    const std::string text = ItemsText({label});
    Text(cx - rk - 15, cy - 10, label < 0 ? " " + text : text);
  }

  SetPen(w, Black, kPenSolid, 2);
  SetFont(w, "arial", font_size, font_weight);
  SetTextBackground(w, true, White);
  Text(1, 1, DateText() + "   " + TimeText() + "    ");
  SetDigits(3);
  return 0;
}

int DrawVectors() {
  Window& w = win_vector_scope;
  const int cx = vscope_cx, cy = vscope_cy, R = vscope_radius;
  const VectorTrace& first = vscope_elements[1];
  double drawn_phase[6] = {};
  bool drawn[6] = {};
  for (int i = 1; i <= vscope_nelements && i <= 5; ++i) {
    if (chan_enabled[i] == 0 || i == indep_chan) continue;
    VectorTrace& e = vscope_elements[i];
    double m = e.mag / first.mag;
    double phi = e.phase - first.phase;
    if (i == 1) {
      m = 1;
      phi = 0;
    }
    double r = R * m / vscope_full_scale;
    if (vscope_linear == 0 && i != 1) r = DbRadius(m, R);
    if (r > R) r = R;  // cut at the rim, same direction
    const int x = cx + Rnd(r * std::cos(phi));
    const int y = cy - Rnd(r * std::sin(phi));
    // A vector in phase with one drawn before would hide under it: it is
    // drawn dashed, twice, one pixel apart. Phases a whole turn apart count
    // as in phase.
    bool overlaps = false;
    for (int j = 1; j < i; ++j) {
      if (!drawn[j]) continue;
      const double diff = std::remainder(phi - drawn_phase[j], 2 * M_PI);
      overlaps = overlaps || std::fabs(diff) < 0.035;
    }
    drawn_phase[i] = phi;
    drawn[i] = true;
    SetPen(w, e.colour, overlaps ? kPenDash : kPenSolid, overlaps ? 1 : 2);
    DrawLine(w, cx, cy, x, y);
    if (overlaps) DrawLine(w, cx + 1, cy + 1, x + 1, y + 1);
    SetPen(w, e.colour, kPenSolid, 2);
    DrawCircle(w, x, y, 3);
    e.tip_x = x;
    e.tip_y = y;
  }
  SetPen(w, Black, kPenSolid, 1);
  return 0;
}

}  // namespace vna
