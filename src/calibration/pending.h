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
// changing ratio_BA or Zphase.
void CorrectB();

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int CalLimitsHandler();
int CalibrationHandler();

// Fills the port-load impedance tables. Placeholder: does nothing.
void InitPortLoadTables();

// ---- What the main window's commands call ----
// Each placeholder measures nothing, writes nothing and opens nothing.
void RefToAntenna();  // toggles the reference to the antenna
void CalA();          // Port A calibration over cal_start_freq .. cal_end_freq
// Port B calibration. Placeholder: calibrates nothing and says so in
// calB_error (-1), so no caller saves a calibration file after it.
void CalB();
void CalMultiChannel();       // calibration of the multiplexer channels
void CleanRelays(int count);  // cycles the multiplexer relays

}  // namespace vna
