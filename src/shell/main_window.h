// The main window's handler, the notice of the commands that need an
// instrument, and the close path every way of quitting takes.
#pragma once

namespace vna {

// Handler of main_win (declared with the window records in windows.h too):
// resize, mouse, keys, the close request, menu picks and button clicks.
int MainWindowHandler();

// "This function requires the hardware" (or, after the config file was
// edited, the notice to restart). Callers test vna_present themselves.
void NeedsHardware();

// Closes every open tool window, then ends the main loop and stops a running
// scan or Recycle loop at its next check.
void CloseToolWindows();

// Keyboard focus to main_win, which then counts as the window that had the
// focus last.
void FocusMainWindow();

}  // namespace vna
