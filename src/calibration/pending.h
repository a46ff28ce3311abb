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

// Fills the port-load impedance tables. Placeholder: does nothing.
void InitPortLoadTables();
// Loads the calibration file named by file_name; vna_status 0 when loaded.
// Placeholder: reads no tables; a file that cannot be opened gives 34508 (so
// start-up forgets its name), an existing one keeps its name (status 0).
void GetPortACal(int show_summary);

}  // namespace vna
