// The Port A scan: every point of the frequency list measured, corrected,
// stored and drawn as it arrives; or, with live_data 0, the stored scan
// replayed and drawn again.
#pragma once

namespace vna {

// Statuses a Port A scan leaves in vna_status when it measured nothing or
// stopped: the instrument lacks a Port A calibration, the reference signal
// is missing, no list frequency lies in a band of the band skip. A failed
// read leaves the read's own status.
enum : int {
  kStatusNotCalibrated = 4482,
  kStatusScanNoReference = 89237,
  kStatusEmptyList = 4483,
};

// Runs the scan inside the caller, letting window events through every 11
// live points so Halt can stop it (the rest of the list then repeats the
// last reading, drawn dotted). Afterwards the minimum SWR and the
// resonances are printed, the cursor readout shown and a live scan saved
// automatically. vna_status is 0 after a good scan; a scan that failed keeps
// the failure's status, whatever the supply check after it found. A scan
// that measured nothing leaves the stored scan as it was.
void Scan_A();
// True while a Port A scan (live or replayed) runs; a call of Scan_A meanwhile
// (from a key its window events let through) does nothing.
bool ScanAInProgress();

}  // namespace vna
