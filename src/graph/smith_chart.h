// The two Smith chart windows of the last Port A scan.
#pragma once

namespace vna {

// marker_points from the marker table: for each marker shown (markerena)
// below 9000 MHz and within the stored Port A scan's frequencies, the index
// of its nearest stored point (halves up) plus 1; else -1.
void FindMarkerPoints();

// The Smith chart in smith_win: draws the grid at smith_zoom, the trace,
// the markers and the SWR ruler circle, then waits while smith_open is set
// and closes the window. Returns after drawing without waiting beside point
// data (point_smith) and in recycle mode (drawn over the open window).
// Draws nothing and changes no flag with fewer than 3 points or in TDR mode.
void Smith();

// The second chart in smith2_win: the same at smith2_zoom with the trace
// turned by twice smith_rotation degrees, waiting while smith2_open is set.
// Draws nothing and changes no flag with fewer than 3 points, in Port B mode
// or in TDR mode.
void Smith_2();

}  // namespace vna
