// The shared single-frequency text window point_win: point data mode, the
// " Status" view and the calibration data test print into it, one at a time.
#pragma once

namespace vna {

// The buttons of point data mode's Tune way: Stop/Exit, Tone, Smith, the
// frequency steps of 50 MHz down to 1 kHz and, in diagnostic mode, the two
// oscillator buttons. The caller has opened point_win.
void AddPointButtons();

// Handler of point_win. Keys go to the keyboard commands of the graph
// windows; the close box closes the window and clears pointwin_run, which
// ends the wait of whichever user holds it open. The buttons stop the mode,
// step freq (kept within the calibrated range, or within 0.001 MHz ..
// maximumfreq + 20 in diagnostic mode), switch the tone and the Smith chart
// and choose the oscillator by hand.
int PointWinHandler();

}  // namespace vna
