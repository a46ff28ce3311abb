// The graph cursor and its readout column.
#pragma once

namespace vna {

// Moves the exclusive-or cursor line of the main graph to window x, prints
// the stored scan's values at its frequency (interpolated between the two
// points around it) right of the plot box, keeps them in cursor_freq ..
// cursor_zline and moves the dot on every open chart. In TDR mode it reads
// distance, line impedance and reflection coefficient off the TDR trace.
// The same x twice does nothing; a position outside the plot box, right of
// the last plotted point or without stored points moves nothing.
void CursorReadout(int x, int y);

}  // namespace vna
