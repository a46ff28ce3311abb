// The main window's menu bar and its bar of twelve buttons. The menus keep no
// state of their own: every build starts from the globals, so a rebuild shows
// exactly what they say.
#pragma once

namespace vna {

// Command ids of the button bar (control ids on main_win), left to right.
enum : int {
  kBtnPortAB = 20192,
  kBtnScan = 201,
  kBtnRescan = 202,
  kBtnRecycle = 204,
  kBtnPointData = 31,
  kBtnLimits = 203,
  kBtnScales = 205,
  kBtnSmith = 208,
  kBtnComment = 207,
  kBtnStatus = 4332,
  kBtnHalt = 210,
  kBtnQuit = 209,
};

// Info-panel buttons of main_win (drawn by the graph's InfoPanel).
enum : int {
  kInfoAverage = 20821,
  kInfoSettling = 20822,
  kInfoSmoothing = 20823,
  kInfoExtension = 20824,
  kInfoZref = 20825,
};

// Builds the whole menu bar of main_win anew (Port B mode is dropped while an
// instrument answers without a Port B calibration), creates the buttons that
// do not exist yet, restyles all twelve, and sets the check marks. Leaves
// number_decimals at 3.
void BuildMenus();

// Sets the check marks of the present items from the settings; a few are only
// ever set here, never cleared (a rebuild clears them).
void UpdateMenuChecks();

// Rebuilds the menus, then names the Scan and Rescan buttons after the port
// ("Scan A", "Rescan B") and gives main_win the keyboard focus.
void SetScanCaptions();

// Makes the buttons and the TDR check mark tell the mode the program is in,
// however it got there (the mode flags change in many places): Scan and
// Rescan name the port they scan ("Scan B" only in Port B mode, " TDR" only
// while the TDR plot shows; an "A" caption stays on the TDR plot, which
// measures Port A), the buttons that make no sense on the TDR plot are off
// exactly while it shows, and Port A/B is on only off it with a Port B
// calibration. Run by BuildMenus and after every command of the main window.
void ShowModeOnButtons();

}  // namespace vna
