// The polar plot of the last Port A scan.
#pragma once

namespace vna {

// Draws the scan in polar_win: the phase of S11 as the angle and, by the
// mode flag polar_s11, polar_swr or polar_z, |S11|, the SWR or |Z| as the
// radius against the full scale of polar_scale; then waits while polar_open
// is set and closes the window. In recycle mode draws over the open window
// without waiting. Draws nothing and changes no flag with fewer than 3
// points.
void PolarPlot();

}  // namespace vna
