// One TDR trace over the TDR screen of the main window.
#pragma once

namespace vna {

// Draws samples 1 .. Numpts / 2 - 1 of tdr_response (at most the 2099 the
// trace table holds) as line impedance (tdr_linear_z) or rho against
// distance, in the next of the five overlay colours; fills tdr_trace_table,
// advances tdr_overlay and saves the TDR data to "last_VNATDR_file.tdr".
void PlotTDR();

}  // namespace vna
