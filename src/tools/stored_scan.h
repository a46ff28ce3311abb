// What the tools that work on a stored scan share: how many points of each
// port are stored, where a level is crossed between two points, and where a
// frequency lies on the main graph.
#pragma once

namespace vna {

// Points of the stored Port A scan (a later Port B scan does not count),
// never more than the scan arrays hold and never below 0.
int StoredPointsA();
// Points of the stored Port B scan (a later Port A scan does not count),
// within the same bounds.
int StoredPointsB();

// The points a tool may work on: as above, but none while the port's
// arrays hold no scan of that port (scana_ok or scanb_ok 0: new scan limits
// left placeholders there, or a scan is still filling them), as the scan
// file writers keep to.
int MeasuredPointsA();
int MeasuredPointsB();

// The frequency at which a value crosses `level` between the points (f_a,
// v_a) and (f_b, v_b), linearly; f_a when the two values are equal.
double LevelCrossing(double f_a, double v_a, double f_b, double v_b, double level);

// x pixel of frequency f (MHz) on the main graph frame, rounded.
int GraphX(double f);

}  // namespace vna
