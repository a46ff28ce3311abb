// The Port B correction: a transmission reading normalised with the through
// calibration, and the mismatch correction of S21 with the port-load
// reflections of both ports.
#pragma once

#include "shell/complex.h"

namespace vna {

// B/A magnitude ratio of the Port B point; CorrectB divides it by the
// calibrated ratio.
extern double ratio_BA;
// The last phase difference the wrap rule accepted (radians); carried from
// point to point and scan to scan.
extern double last_phase_B;

// Normalises the Port B point at freq with the through calibration: Zphase =
// Delta_Phase less the delay offset (2 pi x 10^6 x freq x delay_offset), less
// the gain step's phase when the gain is set by hand, less the calibrated
// phase; ratio_BA divided by the calibrated ratio (left as it is when that is
// 0 or not finite). The sensitivity PortB_Sens picks the table. A phase
// difference of 3.115 rad or more is folded into -pi..pi only when it lies
// more than 0.0262 rad from the last accepted one, so a phase moving smoothly
// past +-pi is not folded at once. Does nothing while CalinProgress is set;
// with no_cal_comp only sets 4 decimals. Without a record pair for freq it
// prints a notice on the main window and sets Zphase = load_phase. Leaves 4
// decimals.
void CorrectB();

// ---- Port load reflection ----
constexpr int kLoadTableSize = 2010;
// Port-load impedance of Port A and Port B, ohms; element k is the load at
// 50 x k MHz, k = 0..13.
extern double load_A_R[kLoadTableSize], load_A_X[kLoadTableSize];
extern double load_B_R[kLoadTableSize], load_B_X[kLoadTableSize];
extern Complex load_gamma;  // result of GetLoadGamma
extern Complex s21;         // the transmission CorrectS21 corrects in place

// Fills the port-load tables (once, at start-up).
void InitPortLoadTables();
// load_gamma = the reflection of the port load (port 1 Port A, 0 Port B)
// at freq against Zref, interpolated between the 50 MHz entries; from 650 MHz
// up the 650 MHz entry holds, below 0 MHz the 0 MHz one.
void GetLoadGamma(int port);
// s21 = s21 (1 - S22 GammaB)(1 - s11 GammaA) / (1 - GammaA GammaB) at freq,
// with s11 and S22 both set to 0.5 first.
void CorrectS21();

}  // namespace vna
