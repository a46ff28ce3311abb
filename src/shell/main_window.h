// The main window's handler and the close path every way of quitting takes.
#pragma once

namespace vna {

// Handler of main_win (declared with the window records in windows.h too).
int MainWindowHandler();

// Closes every open tool window, then ends the main loop and stops a running
// scan or Recycle loop at its next check.
void CloseToolWindows();

}  // namespace vna
