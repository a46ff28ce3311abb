// The empty frame of the main graph: the frequency grid, the pixel factors
// every plotter places its points with, the plot box, grid, ticks, axis
// labels, the scales and titles of the enabled traces, notices, rulers, the
// text panels, the info panel and the marker lines. No measured point.
#pragma once

#include "shell/text.h"

namespace vna {

// Chooses the grid (FreqGrid), sets the geometry and pixel factors of
// graph/state.h, clears the graph (ClearGraph) and draws the whole frame.
// Leaves the decimals of number text at 3. A scale setting that cannot be
// drawn (0, not a number, or a logarithmic SWR scale of 1 or less) gives its
// trace a factor of 0 and, when the trace is shown, a notice on the graph.
void DrawGraph();

// Step one of DrawGraph alone: graph_mid_x, grid_units_per_div,
// graph_zero_y, px_per_MHz, the clip range, swr_yoffset, swr_per_div and the
// trace factors, from the plot box, the grid and the scale settings
// (s11gain_scale is forced to -60, rtloss_scale kept to 1..80 in magnitude).
void ComputeGraphFactors();

// Prints into main_win with the text's top-left corner at (x, y), by the
// window-printing rule (a double with the current decimals, an integer and
// a blank, a text as it stands).
void GraphPrint(int x, int y, const TextItems& items);

// The SWR trace is on the graph: plot_swrA in Port A mode, plot_swrB in Port B mode.
bool SwrTraceShown();

// Parts of the frame drawn by DrawGraph: the scale labels of every enabled
// trace (after the grid and ticks) and the axis titles (after the frequency
// axis).
void DrawTraceScales();
void DrawTraceTitles();

}  // namespace vna
