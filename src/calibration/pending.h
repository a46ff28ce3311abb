// Calibration globals and routines the instrument link uses that the
// calibration does not define yet. Placeholders until the calibration is
// built: weak definitions in pending.cpp, so the real ones take their place;
// delete the entries then.
#pragma once

namespace vna {

// Gain factor of each Port B gain step 1..5 (index 0 unused), measured by the
// Port B calibration.
extern double RngGain[6];

// Placeholder until the calibration correction is built: returns without
// changing the point, so Send_Freq's flags-0 point reads as the last
// correction left it.
void CorrectA();
// Placeholder until the calibration correction is built: returns without
// changing ratio_BA or Zphase.
void CorrectB();

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
