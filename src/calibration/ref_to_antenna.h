// "Refer to Antenna": the feed line's data made the reference of the
// analysis (its impedance becomes Zref and Z0real, its velocity factor VF);
// the readings themselves are not transformed.
#pragma once

namespace vna {

// Switches the mode. Switching it on asks the " Cable data" dialog: length
// (feet, or metres with an "m" or the metric setting), loss per 100 feet or
// metres at 1 MHz, impedance (1..10000, else 50) and velocity factor (below
// 0.5 taken as 0.66, above 1 as 1). A cancelled dialog leaves the mode off.
// The graph's notice is printed, or erased when the mode is off.
void RefToAntenna();

}  // namespace vna
