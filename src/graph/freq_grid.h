// The frequency axis of the main graph: a whole number of equal divisions
// chosen for the scan limits, and the decimals frequencies of the range are
// printed with.
#pragma once

namespace vna {

// Chooses freq_divs divisions of freq_per_div MHz from a fixed table so that
// they just cover start_freq (0 with plot_at_zero) .. end_freq, sets
// graph_start and graph_end (never clipped), and moves end_freq out to
// graph_end, no further than cal_end_freq and maximumfreq, so the next scan
// fills the graph. Draws nothing.
void FreqGrid();

// Sets the decimals of number text from the span end_freq - start_freq:
// 3 for 10 MHz and more, one more for each tenfold narrower span, at most 8.
void FreqDecimals();

}  // namespace vna
