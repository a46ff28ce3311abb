// The full scales of the graph's traces and of the TDR plot, set through
// the " Graph  Scales" and " TDR Scales" dialogs.
#pragma once

namespace vna {

// The " Graph  Scales" dialog (ignored while a scan runs): Enter takes every
// box that is not empty, clamped or snapped to what the graph can draw, and
// redraws; Cancel or the close box change nothing.
void GraphScales();
int GraphScalesHandler();

// The " TDR Scales" dialog (ignored while a scan runs): Enter snaps the
// distance (feet, or metres when metric) and impedance full scales to the
// ones the TDR plot draws and, when either changed, draws the TDR screen
// anew with the stored trace.
void TDRScales();
int TDRScalesHandler();

}  // namespace vna
