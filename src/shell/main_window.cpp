// The main window's events: the deferred resize, the cursor readout, keys,
// the close request, and menu picks and button clicks handed to the command
// dispatch by id.
#include "shell/main_window.h"

#include "files/settings.h"
#include "files/state.h"
#include "graph/cursor_readout.h"
#include "graph/geometry.h"
#include "graph/marker_commands.h"
#include "graph/state.h"
#include "scan/state.h"
#include "shell/commands.h"
#include "shell/dialogs.h"
#include "shell/keys.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {
namespace {

bool SizeChanged(int w, int h) {
  return w != last_WinWidth || h != last_WinHeight;
}

// A new size is only noted here; the window is re-created at the next mouse
// move, so a drag of the frame does not rebuild it at every step.
void NoteResize() {
  int w = 0, h = 0;
  OuterSize(main_win, w, h);
  if (w <= 200 || !SizeChanged(w, h)) return;
  MoveTo(main_win, 100, 50);
  PrintItems(main_win, {"  Width = ", w, "    Height = ", h, "   "});
  resize_pending = 1;
}

void ApplyPendingResize() {
  if (resize_pending != 1) return;
  int w = 0, h = 0;
  OuterSize(main_win, w, h);
  resize_pending = 0;
  if (SizeChanged(w, h)) ReopenMainWindow(1);
}

// With the readout normally on it follows the mouse and freezes while the
// left button is held; with it off it follows only a drag.
void CursorRule() {
  if ((lbutton_down ^ cursorena) != 1) return;
  if (msg_mouse_x != last_mouse_x) mouse_x = last_mouse_x = msg_mouse_x;
  if (msg_mouse_y != last_mouse_y) mouse_y = last_mouse_y = msg_mouse_y;
  CursorReadout(mouse_x, mouse_y);
}

// Closes one tool window whose open flag is set, giving it the focus first.
void CloseTool(Window& win, int& open_flag, int* closed_flag, int focus_index) {
  if (open_flag == 0) return;
  open_flag = 0;  // ends the wait loop of the window's own procedure
  if (closed_flag) *closed_flag = 1;
  FocusForm(win);
  if (focus_index != 0) focus_win = focus_index;
  CloseWindow(win);
}

}  // namespace

void FocusMainWindow() {
  FocusForm(main_win);
  focus_win = 1;
}

int MainWindowHandler() {
  switch (msg_id) {
    case kEvResize:
      NoteResize();
      break;
    case kEvLButtonDown:
      lbutton_down = 1;
      CursorRule();
      break;
    case kEvRButtonDown:
      lbutton_down = 0;
      MarkerCommand(9);
      break;
    case kEvLButtonUp:
      lbutton_down = 0;
      break;
    case kEvKeyDown:
      key_down = 1;
      HandleKey();
      break;
    case kEvKeyUp:
      key_down = 0;
      ctrl_key_down = 0;
      shift_key_down = 0;
      break;
    case kEvMouseMove:
      ApplyPendingResize();
      CursorRule();
      break;
    case kEvClose:
      CloseToolWindows();
      break;
    case kEvMenu:
      lbutton_down = 0;
      DispatchCommand(msg_menu_id);
      break;
    case kEvCommand:
      lbutton_down = 0;
      DispatchCommand(msg_ctl_id);
      break;
    default:
      break;
  }
  return 0;
}

void NeedsHardware() {
  if (config_changed == 0) {
    MsgBox(&main_win, "This function requires the hardware", "", kMbOk, kIconNone, true);
  } else {
    MsgBox(&main_win,
           "Please close the program and restart it so the new\rConfig File parameters can be "
           "loaded.",
           "Restart VNA Prog", kMbOk, kIconNone, true);
  }
}

void CloseToolWindows() {
  CloseTool(point_win, pointwin_run, nullptr, 3);
  CloseTool(smith_win, smith_open, &smith_closed, 5);
  CloseTool(polar_win, polar_open, &polar_closed, 8);
  CloseTool(smith2_win, smith2_open, &smith2_closed, 6);
  if (help_open != 0) {
    CloseTool(help_win, help_open, nullptr, 4);
    if (dlg_const_freq.IsOpen()) CloseDialog(dlg_const_freq, 1);
  }
  CloseTool(marker_win, markerwin_open, nullptr, 0);
  CloseTool(legend_win, legend_open, nullptr, 0);
  CloseTool(win_vector_scope, vscope_open, nullptr, 0);
  CloseTool(win_array_scan, arrayscan_open, nullptr, 0);
  CloseWindow(hidden_win);
  cfg_editor_running = 0;
  main_loop_on = 0;
  scan_running = 0;
  recycle_on = 0;
  // The main loop, or a tool's wait loop, may be blocked waiting for events.
  WakeEvents();
}

}  // namespace vna
