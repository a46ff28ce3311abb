// The frame of the TDR plot on the main graph.
#pragma once

namespace vna {

// The plot box, its grid, the distance axis with its labels and title, the
// impedance (tdr_linear_z) or reflection-coefficient scale, the heading
// "TDR Mode", the title and the file-name panel. Sets graph_mid_x,
// graph_zero_y, grid_units_per_div, tdr_zo_y (the 50 ohm row) and the TDR
// plan (SetTDRPoints); clears tdr_show_params. Leaves 3 decimals.
void DrawTDR();

}  // namespace vna
