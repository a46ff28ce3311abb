// The Markers menu, right-click marker editing and the rotation of marker
// impedances.
#pragma once

namespace vna {

// A marker command: 1 Display Marker Data, 5 Toggle Markers, 6 Clear All
// Markers, 7 Save Marker Data, 8 Recall Marker Data, 9 insert or remove at
// the mouse (EditMarker), 22 Phase Rotation. Sets cmd_param := sub, updates
// the menu's check marks, marker_count and marker_next. Nothing in TDR mode.
void MarkerCommand(int sub);
// The " Marker" dialog at the frequency under the mouse (rounded to 0.005
// MHz, or 0.002 on a graph of 0.05 MHz or less); inserts or removes the
// typed frequency ("k" = kHz) as the dialog's button says (cmd_param), then
// sorts the table. An insert with all 20 rows in use is refused.
void EditMarker();
// Moves point_Rs + j point_Xs along a line of Z0real + j Z0imag by the
// angle (degrees): twice the angle round the Smith chart. Sets point_Rs
// (at least 0.00001), point_Xs and Zphase.
void RotateMarkerZ(double degrees);

}  // namespace vna
