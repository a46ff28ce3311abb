// Calibration globals the instrument link reads that the calibration does not
// define yet. Placeholder until the calibration is built: a weak definition
// in pending.cpp, so the real one takes its place; delete the entry then.
#pragma once

namespace vna {

// Gain factor of each Port B gain step 1..5 (index 0 unused), measured by the
// Port B calibration.
extern double RngGain[6];

}  // namespace vna
