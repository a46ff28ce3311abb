// Values of the stored Port A scan between its points, for the marker list
// when the graph shows a stored scan rather than a live one.
#pragma once

namespace vna {

// Where frequency f lies among the first n stored frequencies `freqs` (in
// rising order): between point k and point k + 1, the fraction t of the
// way (0 on point k). Below the first point it is point 0, above the last
// the last point, each with t 0; n must be at least 1.
struct StoredSpot {
  int k = 0;
  double t = 0;
  // The value of a stored column there, on the straight line between the two
  // points.
  double Of(const double* a) const { return t == 0 ? a[k] : a[k] + t * (a[k + 1] - a[k]); }
};
StoredSpot SpotOf(const double* freqs, int n, double f);

// Sets swr, Zmag and Zphase, as a point read would, to the stored Port A
// scan's values at freq, interpolated linearly between the two measured
// points around it by their stored frequencies (a scan's step and start
// may have changed since, and the list may have moved a point off a spur).
// Outside the stored points it gives the values of the nearest end point.
// Sends nothing to the instrument and changes nothing else.
void InterpolateScanAt();

}  // namespace vna
