#include "graph/geometry.h"

#include <algorithm>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/tool_tips.h"
#include "shell/windows.h"

namespace vna {

namespace {

// Sample texts whose extents set the layout.
constexpr const char* kLabelSample = " 100XXXX";               // a scale label
constexpr const char* kInfoSample = "1234567890123456789012";  // an info panel button
constexpr const char* kLeftScaleSample = "XXXX.XX";            // the left scale
constexpr const char* kStatusSample = " 100   ";               // a status line

}  // namespace

void FitWindowToScreen() {
  if (WinHeight < 100) WinHeight = 100;
  if (WinWidth < 200) WinWidth = 200;
  int w = WinWidth, h = WinHeight;
  if (screen_width > 0 && w > screen_width) w = screen_width;
  if (screen_height > 0) {
    if (h > screen_height) h = screen_height;
    if (screen_height - h < 35) h = screen_height - 35;
  }
  WinWidth = w;
  WinHeight = h;
  WinLeft = WinTop = 0;
  font_weight = bold_font != 0 ? 600 : 200;
  win_xscale = static_cast<float>(WinWidth) / 1024.0f;
  win_yscale = static_cast<float>(WinHeight) / 768.0f;
  PointWinWidth = std::min(WinWidth, 1270);
  PointWinHeight = 700;
}

void MeasureGraphLayout() {
  int w1 = 0, h1 = 0, w2 = 0, h2 = 0, w3 = 0, h3 = 0, unused = 0;
  FontTextExtent("arial", font_size, font_weight, kLabelSample, w1, h1);
  msg_text = kInfoSample;
  FontTextExtent("courier", font_size, font_weight, msg_text, w2, h2);
  FontTextExtent("arial", 7, font_weight, kLeftScaleSample, w3, unused);
  FontTextExtent("arial", font_size, font_weight, kStatusSample, unused, h3);

  text_height = h1;
  line0_y = 0;
  line1_y = h1;
  line2_y = 2 * h1;
  line3_y = 3 * h1;
  info_button_w = w2 + 14;
  info_button_h = h2 + 8;
  info_x = WinWidth - info_button_w - 15;
  info_button_y = line1_y + 2 * h1;
  graph_left = WinLeft + w3 + (bold_font != 0 ? 5 : 12);
  graph_right = WinWidth - info_button_w - w1 - 5;
  graph_top = line1_y + h1 + 10;
  status_y = WinHeight - 55 - 2 * h3;
  graph_bottom = status_y - 2 * h3;
  title_y = status_y - h3 - h3 / 2;
}

void Initgrafsize() {
  ScreenSize(screen_width, screen_height);
  FitWindowToScreen();
  // A window of this size, to build the menus and the button bar on (the
  // first build also settles the port mode before any calibration is read).
  OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu | kWinMin | kWinMax,
             msg_text, MainWindowHandler);
  last_WinWidth = WinWidth;
  last_WinHeight = WinHeight;
  BuildMenus();
  MeasureGraphLayout();
  if (coord_debug != 0) CheckScreenDimensions();
  CloseWindow(main_win);
}

void ReopenMainWindow(int keep_size) {
  int w = WinWidth, h = WinHeight;
  if (keep_size != 0) OuterSize(main_win, w, h);
  CloseWindow(main_win);
  if (markerwin_open > 0) {
    CloseWindow(marker_win);
    markerwin_open = 0;
  }
  WinWidth = w;
  WinHeight = h;
  Initgrafsize();
  std::string title = "VNA-" + model + "   version " + prog_ver + prog_subver + "   ";
  if (vna_present == 0) {
    title += "     DEMO MODE   ";
    PortA_cal = 1;
    PortB_cal = 1;
  }
  OpenWindow(main_win, 0, 0, WinWidth, WinHeight,
             kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax, title, MainWindowHandler);
  BuildMenus();
  shown_average = -1;
  SetFont(main_win, "arial", font_size, font_weight);
  RedrawGraph();
  FocusForm(main_win);
  SetToolTips();
}

void CheckScreenDimensions() {
  Window& w = main_win;
  SetPen(w, Black, kPenSolid, 1);
  SetTextColor(w, Black);
  DrawLine(w, graph_left, graph_top, graph_right, graph_top);
  DrawLine(w, graph_right, graph_top, graph_right, graph_bottom);
  DrawLine(w, graph_left, graph_bottom, graph_right, graph_bottom);
  DrawLine(w, graph_left, graph_top, graph_left, graph_bottom);
  MoveTo(w, graph_left + 10, graph_top + 10);
  PrintText(w, " screen =" + NumStr(screen_width) + " by " + NumStr(screen_height) +
                   " Graph coords X1=" + NumStr(graph_left) + " Y1=" + NumStr(graph_top) +
                   " X2=" + NumStr(graph_right) + " Y2=" + NumStr(graph_bottom));
  MoveTo(w, info_x, graph_top);
  PrintText(w, "First line of data");
  MoveTo(w, info_x, graph_top + text_height);
  PrintText(w, "Second data line");
  MoveTo(w, graph_left, line0_y);
  PrintText(w, "This is Line 1");
  MoveTo(w, graph_left, line1_y);
  PrintText(w, "This is Line 2");
  MoveTo(w, graph_left, line2_y);
  PrintText(w, "Date, time and comment line");
  MsgBox(&w, "Check screen dimensions", "", kMbOk, kIconNone, true);
}

}  // namespace vna
