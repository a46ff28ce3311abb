// The two read-only views of the application's state: the " Status" window
// (button "Status") and the About box (Help menu).
#pragma once

namespace vna {

// Opens point_win as the " Status" window (or reuses it when open), prints
// the rows of settings, calibration and files, and waits until the window
// is closed or the program ends; then closes it and gives the focus back to
// the main window.
void ShowStatus();
// Asks the instrument for its version and shows the About box with the
// controller's line (" DEMO MODE " without an answer).
void ShowAbout();

}  // namespace vna
