// Band edges of a stored scan around the graph cursor: the filter bandwidth
// of the Port B S21 trace at the two dB rulers with its shape factor, and
// the antenna bandwidth of the Port A SWR trace under the SWR ruler. Both
// measure nothing and work without an instrument.
#pragma once

namespace vna {

// The two crossings of level (dB) by the Port B S21 trace on either side of
// point band_start_index: walking out while the trace stays above the level
// (the start point above it) or below it (the start point in a notch).
// vna_status 0 with f_low and f_high set, or 1..4 after the " No band limits
// found" message (1, 3: no crossing below the start point; 2, 4: none above).
void FindBandLimit(double level, double& f_low, double& f_high);

// The "Filter Bandwidth" command (Port B mode only): the bandwidth at ruler 1
// and ruler 2, each edge marked on the graph, and the shape factor.
void Bandwidth();

// The "Antenna Bandwidth" command: the band around the cursor in which the
// SWR stays below the SWR ruler, its edges drawn on the graph.
void AntennaBandwidth();

}  // namespace vna
