// Command dispatch of the main window: every menu pick and button click
// reaches its routine here by its id, with the guard the command carries.
#pragma once

#include <string>

namespace vna {

// Runs the command with this menu or control id; an id without a command is
// ignored. Commands that need an instrument show NeedsHardware without one.
void DispatchCommand(int id);

// ---- Pieces the keys share with the buttons ----
// The title of the current port's graph (PortB_title in Port B mode).
std::string& CurrentTitle();
// Scan_B in Port B mode, else Scan_A.
void ScanCurrentPort();
// The next colour of the light-colour pass, 0 again after 7.
void NextColorIndex();
// The TDR plot with its parameter lines printed.
void RunTdrWithParams();

}  // namespace vna
