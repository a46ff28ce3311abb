// A Port A calibration taken on the instrument simulator the way the
// calibration takes it: the raw readings of the short, the open and the
// 50 ohm load at each frequency, with the instrument state of each, stored in
// the calibration tables the correction uses.
#pragma once

#include <vector>

#include "support/sim_runner.h"

namespace vna::test {

// Reads the three standards at `freqs` (ascending) into CalDataA, records
// 0 .. n - 1, and marks the calibration usable (Rstd 50 ohms). The
// calibration range (cal_start_freq ..) is the caller's to set.
void CalibratePortAOnSim(SimRunner& sim, const std::vector<double>& freqs);

// start, start + step, ... up to the first frequency at or above end.
std::vector<double> CalFrequencies(double start, double end, double step);

}  // namespace vna::test
