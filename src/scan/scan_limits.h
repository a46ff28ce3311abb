// The scan limits start_freq, end_freq and delta_freq: the " Scan Limits"
// dialog and the check that holds them inside the calibrated range.
#pragma once

namespace vna {

// The " Scan Limits" dialog over the main window (nothing while a TDR plot
// is shown or a scan runs): start, stop and a step or a number of points
// (20 and more), or a centre, a span and a step; numbers with "k" are kHz.
// Then CheckScanLimits, the frequency grid, the graph frame when its ends
// moved, and the smoothing width for the new limits.
void SetScanLimits();
int ScanLimitsHandler();

// Start and stop in order and inside the calibration's range, the step
// within 0.000001..10 MHz and 5..max_points steps. When the limits differ
// from the saved ones (sv_start, sv_end, svplotatzero) the graph is cleared
// and the stored scans are marked invalid; a stored scan still marked valid
// is never touched. Switches the reference to the antenna off.
void CheckScanLimits();

}  // namespace vna
