#include "graph/chart_handlers.h"

#include "files/settings.h"
#include "graph/cursor_readout.h"
#include "graph/marker_commands.h"
#include "graph/marker_window.h"
#include "graph/markers.h"
#include "graph/polar_plot.h"
#include "graph/smith_chart.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/chart_loops.h"
#include "shell/keys.h"
#include "shell/main_window.h"
#include "shell/state.h"

namespace vna {
namespace {

// Mouse and keys of a chart window; false for any other event. The readout
// follows the free mouse while cursorena is set and a left-button drag while
// it is not, at the chart's x plus the chart window's left edge.
bool ChartMouseAndKeys(Window& win, int& win_x, int& win_y, int key_focus) {
  switch (msg_id) {
    case kEvLButtonDown:
      lbutton_down = 1;
      return true;
    case kEvLButtonUp:
      lbutton_down = 0;
      return true;
    case kEvRButtonDown:
      lbutton_down = 0;
      cmd_param = 9;
      MarkerCommand(9);
      return true;
    case kEvKeyDown:
      key_down = 1;
      if (key_focus != 0) focus_win = key_focus;
      HandleKey();
      return true;
    case kEvKeyUp:
      key_down = ctrl_key_down = shift_key_down = 0;
      return true;
    case kEvMouseMove:
      if ((lbutton_down == 1) != (cursorena == 1)) {
        mouse_x = last_mouse_x = msg_mouse_x;
        mouse_y = last_mouse_y = msg_mouse_y;
        ScreenPos(win, win_x, win_y);
        CursorReadout(win_x + mouse_x, mouse_y);
      }
      return true;
    default:
      return false;
  }
}

// A zoom button: a new zoom ends the wait and draws the chart anew, unless
// the chart was closed meanwhile.
void Zoom(int n, int& zoom, int& open_flag, const int& closed_flag, void (*draw)()) {
  if (zoom == n) return;
  zoom = n;
  open_flag = 0;
  if (closed_flag == 0) draw();
}

// The window goes at once: its wait loop may lie under the loop of a window
// opened after it (a polar plot), which would keep it on the screen until
// that one is closed. The wait loop closes it again, harmlessly.
void CloseSmithChart() {
  smith_open = 0;
  smith2_open = 0;
  smith_closed = 1;
  recycle_on = 0;
  ScreenPos(smith_win, smith_x, smith_y);
  CloseWindow(smith_win);
}

}  // namespace

int SmithHandler() {
  if (ChartMouseAndKeys(smith_win, smith_x, smith_y, 0)) return 0;
  if (msg_id == kEvClose) {
    CloseSmithChart();
    point_smith = 0;
    return 0;
  }
  if (msg_id != kEvCommand) return 0;
  const int id = msg_ctl_id;
  if (id >= 2201 && id <= 2205) {
    Zoom(id - 2200, smith_zoom, smith_open, smith_closed, Smith);
  } else if (id == 2206) {
    PrintWindowImage(smith_win);
  } else if (id == 2207) {
    marker_measure = 1;
    MarkerData_A();
  } else if (id == 2208) {
    CloseSmithChart();
  }
  return 0;
}

int Smith2Handler() {
  if (ChartMouseAndKeys(smith2_win, smith2_x, smith2_y, 6)) return 0;
  if (msg_id == kEvClose) {
    smith_open = 0;
    smith2_open = 0;
    ScreenPos(smith2_win, smith2_x, smith2_y);
    smith2_closed = 1;
    CloseWindow(smith2_win);  // at once, as the Smith chart
    return 0;
  }
  if (msg_id != kEvCommand) return 0;
  const int id = msg_ctl_id;
  if (id >= 2301 && id <= 2305) {
    Zoom(id - 2300, smith2_zoom, smith2_open, smith2_closed, Smith_2);
  } else if (id == 2306) {
    PrintWindowImage(smith2_win);
  }
  return 0;
}

int PolarHandler() {
  if (ChartMouseAndKeys(polar_win, polar_x, polar_y, 0)) return 0;
  if (msg_id == kEvClose) {
    polar_open = 0;
    polar_closed = 1;
    recycle_on = 0;
    ScreenPos(polar_win, polar_x, polar_y);
    CloseWindow(polar_win);  // at once, as the Smith chart
    return 0;
  }
  if (msg_id != kEvCommand) return 0;
  const int id = msg_ctl_id;
  if (id >= 2201 && id <= 2205) {
    // Always drawn anew, also for the scale in force.
    polar_scale = id - 2200;
    polar_open = 0;
  } else if (id == 2206) {
    PrintWindowImage(polar_win);
  }
  return 0;
}

int MarkerWindowHandler() {
  if (msg_id == kEvClose) {
    markerwin_open = recycle_on = scan_running = 0;
    return 0;
  }
  if (msg_id != kEvCommand) return 0;
  switch (msg_ctl_id) {
    case 3174:
      if (scan_running == 0 && markerwin_open > 0) {
        recycle_on = 0;
        ListMarkers_A();
      }
      break;
    case 3193:
      if (markerwin_open > 0) {
        recycle_on = 1 - recycle_on;
        if (scan_running == 0 && recycle_on > 0) ListMarkers_A();
      }
      break;
    case 3175:
      markerwin_open = recycle_on = scan_running = 0;
      CloseWindow(marker_win);
      focus_win = 0;
      FocusForm(main_win);
      break;
    case 3176:
      PrintWindowImage(marker_win);
      break;
    case 3177:
      cmd_param = 8;  // the readable list is written too
      SaveMarkers();
      if (markerwin_open == 1) FocusForm(marker_win);
      break;
    case 3178:
      LoadMarkers();
      markerwin_open = 0;
      CloseWindow(marker_win);
      marker_measure = 0;
      MarkerData_A();
      break;
    default:
      break;
  }
  return 0;
}

void RepeatPolarPlot() {
  if (PortB_on != 0 || recycle_on != 0) return;
  do {
    if (!DrawsAnew(polar_win, PolarPlot)) return;
  } while (polar_closed == 0);
}

}  // namespace vna
