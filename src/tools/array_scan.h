// The Array Scan window: frequency scans of every multiplexer channel on one
// plot, magnitude and phase relative to channel 1 and channel 1's SWR. The
// Port B scan draws the traces into the frame drawn here.
#pragma once

namespace vna {

// Opens the window (unless it exists) and waits until it is closed.
// Returns 0.
int OpenArrayScan();
// The frame over the calibration's range: grid, frequency labels and ticks,
// scale labels, the controls; sets the plot globals the Port B scan draws
// with. Returns 0.
int DrawArrayScan();
int ArrayScanHandler();

// Labelled intervals L and divisions per interval k for freq_divs
// divisions (L x k = freq_divs).
void ArrayLabelSplit(int divs, int& intervals, int& per_interval);

}  // namespace vna
