// From fitted magnitudes and phases to circuit quantities: the raw impedance
// of a measured point, the impedance of a replayed point, and the reflection
// coefficient, return loss and SWR against the reference impedance.
#pragma once

namespace vna {

// Rsm, Xsm, Rp_raw, Xp_raw from MagLoad, MagRef and Delta_Phase; fit_phase
// becomes Delta_Phase in degrees.
void RawImpedance();

// point_Rs, point_Xs, Rp, Xp and freq_plot from the stored Zmag and Zphase of
// a replayed point, then CalcRho. The Port A replay keeps its results for
// the next redraw (scan/replayed_points.h), keyed on freq, Zmag, Zphase,
// Zref and Z0imag: a new input here must become part of that key.
void ImpedanceFromPolar();

// rho, s11, rho_mag, rho_phase, return_loss and swr of R + jX against
// Zref + j Z0imag.
void CalcRho(double R, double X);

// The SWR CalcRho gives for the return loss rl_db (dB, 20 log10 of |rho|):
// 999 for a full reflection and above.
double SwrOfReturnLoss(double rl_db);

}  // namespace vna
