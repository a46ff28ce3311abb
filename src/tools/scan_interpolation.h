// Values of the stored Port A scan between its points, for the marker list
// when the graph shows a stored scan rather than a live one.
#pragma once

namespace vna {

// Sets swr, Zmag and Zphase, as a point read would, to the stored Port A
// scan's values at freq, interpolated linearly between the two scan points
// around it on the grid start_freq + n x delta_freq. Outside the stored
// points it gives the values of the nearest end point. Sends nothing to the
// instrument and changes nothing else.
void InterpolateScanAt();

}  // namespace vna
