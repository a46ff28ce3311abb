// The two numbered cursors of the main graph and the " Cursor Data" window
// that compares them.
#pragma once

namespace vna {

// The readout of one point: SWR, |Z| (ohms), phase of Z (degrees), Rs and
// Xs (ohms), return loss (dB), TDR distance (feet) and TDR line impedance
// (ohms).
struct CursorValues {
  double swr = 0, zmag = 0, phase = 0, rs = 0, xs = 0, rl = 0, distance = 0, zline = 0;
};

// What each cursor fixed the last time its key was pressed.
extern double cursor1_freq, cursor2_freq;  // MHz
extern CursorValues cursor1_values, cursor2_values;

// The values under the graph cursor as the cursor readout left them.
CursorValues ReadoutValues();

// Keys "1" and "2" (also on the keypad): opens the window when it is closed,
// moves that cursor's exclusive-or line to the graph cursor when the mouse
// is over the plot box of a stored scan, fixes the readout values for it and
// writes both cursors and their difference into the window.
void ShowCursorData();
// Closes the window and removes both cursor lines from the graph.
void CloseCursorData();
// Handler of cursor_win: the close box closes it, a mouse move hands the
// keys back to the main window.
int CursorDataHandler();

}  // namespace vna
