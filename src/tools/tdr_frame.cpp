#include "tools/tdr_frame.h"

#include <algorithm>

#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "platform/draw.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"
#include "tools/tdr.h"

namespace vna {

namespace {

void PrintAt(int x, int y, int color, const TextItems& items) {
  Window& w = main_win;
  SetTextColor(w, color);
  MoveTo(w, x, y);
  PrintItems(w, items);
}

// Ten divisions of DXscale / 10 feet; the tenth is the right edge of the box.
void DrawDistanceAxis(int xs) {
  Window& w = main_win;
  const int d = DXscale > 5 ? 0 : 1;
  for (int k = 1; k <= 10; ++k) {
    const int x = graph_left + k * xs;
    if (k < 10) {
      SetPen(w, grid_line_color, kPenSolid, 1);
      DrawLine(w, x, graph_top, x, graph_bottom);
    }
    const double feet = DXscale * k / 10;
    if (metric == 0) {
      SetDigits(d);
      PrintAt(x - 10, graph_bottom - 20, Black, {feet, "  "});
    } else {
      SetDigits(d + 1);
      PrintAt(x - 15, graph_bottom - 20, Black, {feet * 0.3048, "  "});
    }
  }
}

// Row k of the 21 lies yk pixels above the bottom of the box.
int RowHeight(int k) {
  return Rnd(k * grid_units_per_div);
}

void DrawImpedanceScale() {
  PrintAt(graph_left - 30, graph_top - 30, Green, {"Z"});
  for (int k = 0; k <= 20; ++k) {
    const int yk = RowHeight(k);
    const int label_y = graph_bottom - yk - 10;
    // Below 100 ohms the scale runs from 100 - tdr_zmax to tdr_zmax, around 50.
    const double z = tdr_zmax >= 100 ? yk / tdr_zscale : (100 - tdr_zmax) + yk / tdr_zscale;
    if (std::fabs(z - 50) < 1) tdr_zo_y = graph_bottom - yk;
    PrintAt(graph_left - 40, label_y, Green, {FormatUsing("#### ", {Rnd(z)})});
    if (tdr_show_rho != 0) {
      SetDigits(3);
      PrintAt(graph_left + 5, label_y, LightRed, {(z - tdr_zo) / (z + tdr_zo)});
      PrintAt(graph_left + 10, graph_top - 30, LightRed, {"Rho"});
    }
  }
}

void DrawRhoScale() {
  PrintAt(graph_left - 45, graph_top - 30, Black, {"Rho"});
  for (int k = 0; k <= 20; ++k) {
    const int yk = RowHeight(k);
    const int label_y = graph_bottom - yk - 10;
    const double rho = tdr_range_factor * (k / 10.0 - 1);
    SetDigits(3);
    PrintAt(graph_left - 45, label_y, RedColor, {rho});
    std::string text = "inf";
    if (rho < 0.999) {
      const double z = tdr_zo * (1 + rho) / (1 - rho);
      SetDigits(z < tdr_zo ? 1 : 0);
      text = NumStr(z);
      if (std::fabs(z - 50) < 0.1) tdr_zo_y = graph_bottom - yk;
    }
    PrintAt(graph_left + 5, label_y, Green, {text});
  }
  PrintAt(graph_left + 12, graph_top - 30, Green, {"Z"});
}

}  // namespace

void DrawTDR() {
  Window& w = main_win;
  graph_mid_x = (graph_left + graph_right) / 2;
  graph_zero_y = (graph_top + graph_bottom) / 2;
  grid_units_per_div = (graph_bottom - graph_top) / 20.0;
  const int xs = Rnd((graph_right - graph_left) / 10.0);
  SetTDRPoints();

  SetPen(w, Black, kPenSolid, 2);
  DrawLine(w, graph_left, graph_top, graph_left, graph_bottom);
  DrawLine(w, graph_right, graph_top, graph_right, graph_bottom);
  DrawLine(w, graph_left, graph_top, graph_right, graph_top);
  DrawLine(w, graph_left, graph_bottom, graph_right, graph_bottom);
  if (DIAGMODE == 0) {
    // Under the calibration range on the first line, which the files panel
    // prints after it: a plot box close to the top would put the heading
    // into that line, whose background then cuts it.
    int tw = 0, line_h = 0;
    FontTextExtent("arial", font_size, font_weight, "X", tw, line_h);
    SetFont(w, "arial", font_size + 2, font_weight);
    PrintAt(graph_mid_x - 50, std::max(graph_top - 25, line0_y + line_h), Black, {"TDR Mode"});
    SetFont(w, "arial", font_size + 1, font_weight);
  }

  SetPen(w, grid_line_color, kPenSolid, 1);
  for (int k = 1; k <= 19; ++k) {
    const int y = Rnd(graph_top + k * grid_units_per_div);
    DrawLine(w, graph_left, y, graph_right, y);
  }
  DrawDistanceAxis(xs);
  if (tdr_linear_z != 0) {
    DrawImpedanceScale();
  } else {
    DrawRhoScale();
  }

  SetDigits(3);
  PrintAt(graph_mid_x - 25, graph_bottom - 40, Black,
          {metric == 0 ? "Distance (ft) " : "Distance (m) "});
  DrawTitle();
  DrawFilesPanel();
  tdr_show_params = 0;
}

}  // namespace vna
