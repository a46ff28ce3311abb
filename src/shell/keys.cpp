#include "shell/keys.h"

#include "calibration/state.h"
#include "files/auto_save.h"
#include "files/settings.h"
#include "graph/clear_graph.h"
#include "graph/cursor_data.h"
#include "graph/cursor_readout.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "scan/band_scan.h"
#include "scan/point_data.h"
#include "scan/scan_limits.h"
#include "scan/state.h"
#include "shell/commands.h"
#include "shell/mailbox.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "tools/state.h"
#include "tools/tdr.h"
#include "tools/vector_scope.h"

namespace vna {
namespace {

// The window that had the focus last, for printing; none for other indexes.
Window* FocusWindow() {
  switch (focus_win) {
    case 1:
      return &main_win;
    case 3:
      return &point_win;
    case 4:
      return &help_win;
    case 5:
      return &smith_win;
    case 6:
      return &smith2_win;
    case 7:
      return &swrratio_win;
    case 8:
      return &marker_win;
    default:
      return nullptr;
  }
}

// S: a new scan of the current port (or the Vector Scope's elements, or the
// TDR plot).
void SingleScanKey() {
  color_index = 0;
  if (vscope_open != 0) {
    vscope_recycle = 0;
    ReadAllElements();
  } else if (tdr_mode != 0) {
    RunTdrWithParams();
  } else {
    CurrentTitle().clear();
    rescan_on = 0;
    DrawGraph();
    ScanCurrentPort();
  }
}

// R: the next scan drawn over the last one in the next colour.
void RescanKey() {
  if (tdr_mode != 0) {
    RunTDR();
    return;
  }
  NextColorIndex();
  if (bandscan_mode != 0) {
    BandScan();
  } else {
    rescan_on = 1;
    ScanCurrentPort();
  }
}

// U: a scan whose result goes to the result file of the external control.
void ScanAndReportKey() {
  CurrentTitle().clear();
  DrawGraph();
  // Only a completed scan is reported: an old file must not pass for its result.
  vna_status = kCtlNotScanned;  // the scan sets its own status once it runs
  ScanCurrentPort();
  if (vna_status == 0 && ControlCsvPoints() > 0) WriteControlCsv();
}

void MoveCursorBy(int dx) {
  mouse_x += dx;
  CursorReadout(mouse_x, mouse_y);
}

// Runs the command with the instrument guard.
void WithInstrument(void (*command)()) {
  if (vna_present == 0) {
    NeedsHardware();
    return;
  }
  command();
}

}  // namespace

int HandleKey() {
  key_code = msg_wparam;
  if (scan_running != 0) return 0;
  CheckKeyCodes();
  switch (key_code) {
    case kVkCtrl:
      ctrl_key_down = key_down != 0 ? 1 : 0;
      break;
    case kVkShift:
      shift_key_down = key_down != 0 ? 1 : 0;
      break;
    case '1':
    case '2':
    case kVkNumpad0 + 1:
    case kVkNumpad0 + 2:
      ShowCursorData();
      break;
    case 'S':
      WithInstrument(SingleScanKey);
      break;
    case 'P':
      if (Window* w = FocusWindow()) PrintWindowImage(*w);
      break;
    case 'R':
      WithInstrument(RescanKey);
      break;
    case 'U':
      if (tdr_mode == 0) WithInstrument(ScanAndReportKey);
      break;
    case kVkUp:
    case kVkDown:
      if (tdr_mode == 0) RecallAutoSave(0);
      break;
    case kVkLeft:
      if (key_down > 0) MoveCursorBy(-1);
      break;
    case kVkRight:
      if (key_down > 0) MoveCursorBy(1);
      break;
    case 'L':
      SetScanLimits();
      break;
    case 'D':
      PointDataMode();
      break;
    case 'Q':
      main_loop_on = 0;
      WakeEvents();
      break;
    default:
      break;
  }
  key_code = 1;
  return 0;
}

int CheckKeyCodes() {
  key_sequence += static_cast<char>(key_code & 0xFF);
  if (key_sequence == "4826") {
    DIAGMODE = 1 - DIAGMODE;
    dsp_debug = 1 - dsp_debug;
  }
  if (key_sequence == "8147") BuildMenus();
  if (key_sequence == "5904") {
    no_cal_comp = 1;
    DIAGMODE = 1;
  }
  if (key_sequence == "2768") {
    coord_debug = 1;
    ClearGraph();
    CheckScreenDimensions();
  }
  if (key_sequence == "6139") dsp_debug = 1 - dsp_debug;
  // Never emptied again: only the first four keys can form a code.
  if (key_sequence.size() == 4) key_sequence = "x";
  return 0;
}

}  // namespace vna
