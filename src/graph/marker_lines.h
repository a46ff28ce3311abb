// Lines over the main graph that come and go without a redraw: drawn in
// exclusive-or, so drawing one again removes it.
#pragma once

namespace vna {

// The vertical lines of the markers (rows 1..20 below maximumfreq, strictly
// inside the plot box) with their numbers: drawn when markers_drawn was 0,
// removed when it was 1; markers_drawn toggles. The numbers are painted: red
// when drawn, bg_color when removed.
void DrawMarkers();

// Removes the SWR ruler line on the graph, if any, stores value in
// swr_ruler and, when it is 1 or more, draws the dashed line at that SWR
// with its "#.##" label (the label stays until the next frame).
void DrawSWRRuler(double value);

// y of an SWR value on the SWR scale of the last frame, rounded.
int SwrToY(double swr_value);

}  // namespace vna
