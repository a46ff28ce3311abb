// The Port A correction: a raw reading turned into the calibrated impedance
// with the short, open and standard-resistor readings of the calibration, and
// the line extension that moves the reference plane along a lossless line.
#pragma once

namespace vna {

// Corrects the raw reading Rsm + jXsm taken at freq with the multiplier
// state 1000 x OSC + mult_code: point_Rs, point_Xs (never below 0.00001 ohms
// before the line extension), Cs, Zphase, Zmag, Rp, Xp, Cp, Zmag_A and
// phase_A. Does nothing while CalinProgress is set, and leaves the point as
// it was when the calibration holds no record pair for freq (a notice is
// printed on the main window). Every result is finite: a reading that equals
// the interpolated open standard gives kOpenOhms. Leaves 3 decimals.
// Between MyVar3 and MyVar4 (MHz) it shows its working in a box (Cancel
// stops that).
void CorrectA();

// point_Rs + jpoint_Xs seen through a lossless line of Zextension ohms and
// freq x ext_phase_per_MHz radians: the impedance at its far end.
void ExtendLine();

// The resistance a correction gives where the reading has no finite value.
constexpr double kOpenOhms = 1e9;

}  // namespace vna
