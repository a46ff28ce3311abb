// The Port B (transmission) scan: S21 magnitude, phase and group delay of
// every point of the Port B frequency list, measured, corrected, stored and
// drawn as it arrives; or, with live_data 0, the stored scan replayed
// through the same drawing. During a multiplexer channel scan it draws into
// the Array Scan window, every channel relative to channel 1.
#pragma once

namespace vna {

// Runs the scan inside the caller, letting window events through every 5
// points so that Halt can stop it (the rest of the list then repeats the
// last reading). A live scan needs a Port B calibration; a replay needs
// none and sends nothing to the instrument. Afterwards scanb_ok is 1,
// scan_npoints holds the points stored and avg_delay the mean delay.
void Scan_B();
// True while a Port B scan runs; a call of Scan_B meanwhile (from a key its
// window events let through) does nothing.
bool ScanBInProgress();

// The Port A point at freq measured just before the Port B point of index
// scanloop: return_loss, swr and rho_phase for the scan's S11 columns, |Z|
// and phase into readA_zmag and readA_phase. A missing reference signal
// (MagRef below 50) is printed and stops the reading part of the scan.
void ReadPortARef();

}  // namespace vna
