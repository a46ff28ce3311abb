// Calibration globals and routines the instrument link uses that the
// calibration does not define yet. Placeholders until the calibration is
// built: weak definitions in pending.cpp, so the real ones take their place;
// delete the entries then.
#pragma once

#include "calibration/freq_cal.h"
#include "calibration/ref_to_antenna.h"
#include "shell/complex.h"

namespace vna {

// Gain factor of each Port B gain step 1..5 (index 0 unused), measured by the
// Port B calibration.
extern double RngGain[6];

// B/A magnitude ratio of the Port B point; the Port B correction divides it
// by the calibrated ratio.
extern double ratio_BA;

// Placeholder until the calibration correction is built: returns without
// changing ratio_BA or Zphase.
void CorrectB();

// Fills the port-load impedance tables. Placeholder: does nothing.
void InitPortLoadTables();

// Transmission value of the Port B point, corrected in place by CorrectS21.
extern Complex s21;
// Removes the port mismatch error from s21. Placeholder until the mismatch
// correction is built: leaves s21 as measured.
void CorrectS21();

// ---- What the main window's commands call ----
// Each placeholder measures nothing, writes nothing and opens nothing.
// Port B calibration. Placeholder: calibrates nothing and says so in
// calB_error (-1), so no caller saves a calibration file after it.
void CalB();
void CalMultiChannel();       // calibration of the multiplexer channels
void CleanRelays(int count);  // cycles the multiplexer relays

}  // namespace vna
