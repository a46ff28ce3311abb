// The main graph drawn again from what is stored, without measuring.
#pragma once

namespace vna {

// In TDR mode: the TDR frame, the stored TDR trace, the title and the stored
// date stamp. Otherwise the grid and the empty frame, then, when a scan is
// stored (scanloop not 0), its replay through the scan of the present port
// with live_data 0 and smoothing 0 (both restored: live_data to 1).
void RedrawGraph();

}  // namespace vna
