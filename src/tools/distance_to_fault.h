// Distance to fault: the quarter-wave frequency of an open or shorted cable
// on Port A gives the distance to its end with the cable's velocity factor,
// and |Z| at the eighth-wave frequency its characteristic impedance.
#pragma once

#include <string>

namespace vna {

// The menu command: refuses a calibration that does not cover 0.05 MHz up to
// 90 % of maximumfreq; otherwise runs DistanceToFault with the scan limits
// 0.2..180 MHz by 0.2 and interpolation on, and gives the scan limits,
// interpolation and averaging back afterwards.
void DistanceToFaultCheck();
// The measurement: a notice (Cancel ends it), the velocity factor, one, or
// for a cable whose quarter-wave frequency is below 6 MHz three, phase
// crossings, the distance and Zo in a box. The relays end switched off.
void DistanceToFault();

// Handler of the " Velocity Factor" dialog: shows VF, returns the typed text
// in dlg_text1 with result 1 on Enter.
int VelocityFactorHandler();
// The velocity factor a typed text gives: its absolute value, 1 above 1, then
// 0.66 below 0.5.
double EnteredVelocityFactor(const std::string& text);

}  // namespace vna
