#include "graph/legend.h"

#include <string>

#include "files/settings.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr int kWidth = 160, kRowStep = 18, kSampleX = 65, kSampleLength = 80;

struct Row {
  const int* on;
  const char* label;
  const int* color;
  const int* style;
};

// In the order the rows are listed; Rs/Xs and Rp/Xp give two rows each.
const Row kRows[] = {
    {&plot_swrA, "SWR", &RedColor, &swrstyle},
    {&plot_Q, "Q", &RedColor, &swrstyle},
    {&plot_s11, "Rho", &RedColor, &swrstyle},
    {&plot_zmagA, "Zmag", &Green, &zmagstyle},
    {&plot_rsA, "Rs", &Orange, &rsstyle},
    {&plot_rsA, "Xs", &Yellow, &xsstyle},
    {&plot_rpA, "Rp", &Orange, &rsstyle},
    {&plot_rpA, "Xp", &Yellow, &xsstyle},
    {&plot_ZphaseA, "Phase", &Magenta, &phasestyle},
    {&plot_rt, "RtLoss", &Blue, &rtstyle},
};

void Line(int x1, int y, int x2) {
  DrawLine(legend_win, x1, y, x2, y);
}

}  // namespace

void ShowLegend() {
  // A second request while the legend waits brings the open one forward.
  if (legend_open != 0) {
    FocusForm(legend_win);
    return;
  }
  int rows = 0;
  for (const Row& r : kRows) rows += *r.on != 0 ? 1 : 0;
  const int h = 16 * (rows + 1) + 30;
  OpenWindow(legend_win, graph_right - 180, graph_bottom - h - 10, kWidth, h,
             kWinTopmost | kWinToolWindow | kWinCaption | kWinSysMenu, "Legend", LegendHandler);
  legend_open = 1;
  int y = 3;
  for (const Row& r : kRows) {
    if (*r.on == 0) continue;
    MoveTo(legend_win, 10, y);
    PrintText(legend_win, r.label);
    DrawLegendSample(kSampleX, y + 10, *r.color, *r.style);
    y += kRowStep;
  }
  while (legend_open != 0) WaitEvents();
  CloseWindow(legend_win);
}

void DrawLegendSample(int x, int y, int color, int style) {
  SetPen(legend_win, color, kPenSolid, trace_width);
  SetFill(legend_win, false);
  switch (style) {
    case 0:
      Line(x, y, x + kSampleLength);
      break;
    case 1:
      for (int i = 0; i <= 12; ++i) Line(x + 6 * i, y, x + 6 * i + 3);
      break;
    case 2:
      for (int i = 0; i <= 6; ++i) Line(x + 12 * i, y, x + 12 * i + 8);
      break;
    case 3:
      Line(x, y, x + kSampleLength);
      DrawCircle(legend_win, x + 40, y, 3);
      break;
    case 4:
      Line(x, y, x + kSampleLength);
      DrawRect(legend_win, x + 40, y - 3, 6, 6);
      break;
    case 5:
      SetPen(legend_win, color, kPenSolid, trace_width + 2);
      Line(x, y, x + kSampleLength);
      break;
    default:
      break;
  }
}

int LegendHandler() {
  if (msg_id == kEvClose) legend_open = 0;
  return 0;
}

}  // namespace vna
