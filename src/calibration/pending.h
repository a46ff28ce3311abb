// Calibration globals the instrument link reads that the calibration does not
// define yet. Placeholder until the calibration is built: a weak definition
// in pending.cpp, so the real one takes its place; delete the entry then.
#pragma once

namespace vna {

// Gain factor of each Port B gain step 1..5 (index 0 unused), measured by the
// Port B calibration.
extern double RngGain[6];

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int CalLimitsHandler();
int CalibrationHandler();
int CableDataHandler();
int LineExtensionHandler();

}  // namespace vna
