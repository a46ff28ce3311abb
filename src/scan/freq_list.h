// The frequency list of a scan: the scan limits in equal steps, each moved
// off the synthesizer's spurs, and with band skip only those inside the
// config file's bands.
#pragma once

namespace vna {

// Fills scanB_freq (Port B mode) or scanA_freq from start_freq to end_freq in
// steps of `step` MHz, at most max_points - 1 and 30010 points; Numscanpts
// := their count; freq is left one step beyond the last one. Every listed
// frequency but the first passes through NextFreq, and the step is added to
// the frequency as NextFreq left it. `mode` is not used (callers pass 1).
void BuildFreqList(int mode, double step);

// While a scan or calibration runs and freq is above 35 MHz, moves freq just
// above a nearby multiple of dds_clk4 (a synthesizer spur) and, in scans
// wider than 5 MHz above 99 MHz, just off a whole megahertz. MyVar2 of 0.5
// or more switches it off.
void NextFreq();

}  // namespace vna
