// The Port B (transmission) scan: S21 magnitude, phase and group delay of
// every point of the Port B frequency list, measured, corrected, stored and
// drawn as it arrives; or, with live_data 0, the stored scan replayed
// through the same drawing. During a multiplexer channel scan it draws into
// the Array Scan window, every channel relative to channel 1.
#pragma once

namespace vna {

// Statuses a live Port B scan leaves when it measured nothing or stopped,
// beside kStatusNotCalibrated (no Port B calibration) and a failed
// reading's own status: an S11 trace wanted without a Port A calibration,
// no reference signal at the Port A point read with a Port B point, and a
// multiplexer channel after the first reaching a point that channel 1's
// last scan did not measure.
enum : int {
  kStatusS11NotCalibrated = 3479,
  kStatusNoPortARef = 78293,
  kStatusNoChannelOneRef = 4485,
};

// Runs the scan inside the caller, letting window events through every 5
// points so that Halt can stop it (the rest of the list then repeats the
// last reading). A live scan needs a Port B calibration; a replay needs
// none and sends nothing to the instrument. Afterwards scanb_ok is 1,
// scan_npoints holds the points stored and avg_delay the mean delay.
// vna_status is 0 after a good scan; a scan that was refused or whose
// reading failed keeps that status, whatever the commands after it said,
// and the point whose reading failed is not stored: the scan ends before it.
// A live scan that stores no point (refused, or failing at its first
// reading) leaves the stored Port B scan as it was: list, readings, count.
// In a multiplexer channel scan channel 1's readings become the reference
// (mux_ref_*); a later channel is measured only at the points channel 1
// measured, and ends with kStatusNoChannelOneRef before the first other.
void Scan_B();
// "Port B is not calibrated.": the box of a live Port B scan refused for
// want of a Port B calibration.
void PortBNotCalibratedBox();
// True while a Port B scan runs; a call of Scan_B meanwhile (from a key its
// window events let through) does nothing.
bool ScanBInProgress();

// The Port A point at freq measured just before the Port B point of index
// scanloop: return_loss, swr and rho_phase for the scan's S11 columns (the
// stored Port A scan is left alone). A missing reference signal
// (MagRef below 50) is printed, switches the relays off and leaves
// kStatusNoPortARef unless the reading failed with a status of its own.
void ReadPortARef();

// The start of a run of Port B readings, as the Port B scan starts one:
// autoranging on outside diagnostic mode, gain step 1 at low sensitivity.
void StartPortBRanging();
// One live Port B point at freq as the Port B scan reads it: the reading,
// the gain autoranging with its overload notice, the gain step's phase
// taken off and CorrectB, leaving the corrected ratio_BA and Zphase. False
// (with vna_status saying why) when the reading failed; nothing is
// corrected then.
bool MeasurePointB();

}  // namespace vna
