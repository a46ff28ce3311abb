// The main window's handler, as far as start-up and exit need it: its close
// request ends the program through CloseToolWindows. The menu, button, key
// and mouse commands are dispatched here as they are built.
#include "shell/main_window.h"

#include "instrument/pending.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/windows.h"

namespace vna {

int MainWindowHandler() {
  if (msg_id == kEvClose) CloseToolWindows();
  return 0;
}

void CloseToolWindows() {
  if (help_open != 0) {
    help_open = 0;
    FocusForm(help_win);
    focus_win = 4;
    CloseWindow(help_win);
    if (dlg_const_freq.IsOpen()) CloseDialog(dlg_const_freq, 1);
  }
  CloseWindow(hidden_win);
  main_loop_on = 0;
  scan_running = 0;
  recycle_on = 0;
  // The main loop, or a tool's wait loop, may be blocked waiting for events.
  WakeEvents();
}

}  // namespace vna
