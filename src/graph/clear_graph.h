// Clearing the main graph, with the amateur bands shaded when band
// highlighting is on.
#pragma once

namespace vna {

// Fills the graph area with bg_color (from y 1, or from graph_top while
// Recycle repeats scans and keeps the title), shades the bands when
// `highlight` is on outside TDR mode, and forgets what stood on the cleared
// graph: the cursor lines, the SWR ruler, the light colour set and the TDR
// colour sequence.
void ClearGraph();

// Shades every band preset 1..12 that overlaps graph_start..graph_end as a
// column of band_color across the plot box, labelled at its top and bottom
// when its middle lies in the band's label range. Called by ClearGraph.
void DrawBands();

}  // namespace vna
