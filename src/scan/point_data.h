// Point data mode: one frequency read again and again (Tune) or once (Single
// Shot), each reading shown large in the point window, optionally as a dot
// on the Smith chart, as a tone and as spoken SWR digits.
#pragma once

namespace vna {

// Runs the whole mode inside the caller: asks the frequency in the " Enter
// Frequency (MHz)" dialog, then reads Port A (or, with PortB_on and
// transmission_mode set, Port B and then Port A of the same frequency) until
// Stop/Exit, the close box, a failed reading or 50000 readings. Refuses
// without a calibration (outside diagnostic mode). The averaging count, the
// S11 trace switch and the relays are as before afterwards.
void PointDataMode();

// Handler of dlg_enter_freq: "Single Shot" returns the typed frequency in
// freq, "Tune" returns it negated; both switch the tone off.
int EnterFreqHandler();

// The Smith dot of the present reading: its pixel in smith_win for the
// impedance point_Rs + j point_Xs against Zsm_real + j Zsm_imag.
void SmithDotPosition(int& x, int& y);

}  // namespace vna
