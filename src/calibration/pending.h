// Calibration globals and routines the instrument link uses that the
// calibration does not define yet. Placeholders until the calibration is
// built: weak definitions in pending.cpp, so the real ones take their place;
// delete the entries then.
#pragma once

namespace vna {

// Gain factor of each Port B gain step 1..5 (index 0 unused), measured by the
// Port B calibration.
extern double RngGain[6];

// Series capacitance of the last corrected Port A point, pF (-1e6 / (2 pi
// freq Xs)). Placeholder: stays 0 until the correction computes it.
extern double Cs;

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

// ---- What the main window's commands call ----
// Each placeholder measures nothing, writes nothing and opens nothing.
void SetLineExtension();  // " Line Extension" dialog
void RefToAntenna();      // toggles the reference to the antenna
void CalA();              // Port A calibration over cal_start_freq .. cal_end_freq
// Port B calibration. Placeholder: calibrates nothing and says so in
// calB_error (-1), so no caller saves a calibration file after it.
void CalB();
void SaveCalFile();           // writes the calibration file
void CalMultiChannel();       // calibration of the multiplexer channels
void CleanRelays(int count);  // cycles the multiplexer relays

}  // namespace vna
