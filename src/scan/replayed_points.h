// The points of a stored Port A scan as a replay recomputes them, kept from
// one replay to the next: a redraw replays every stored point again, and the
// conversion of a point (a sine and cosine, an arctangent, a logarithm) is
// most of its cost beside the drawing.
#pragma once

namespace vna {

// Point k of the stored scan, exactly as the replay works it out: freq,
// Zmag and Zphase from scanA_freq, readA_zmag and readA_phase, then
// ImpedanceFromPolar. A point whose frequency, |Z| and phase are bit for bit
// those of the kept one, under the same Zref and Z0imag, takes the kept
// results; any other is worked out and kept. So a new scan, a loaded file,
// a filtered curve or a new reference impedance never shows old results.
void ReplayPointA(int k);

// Forgets every kept point (the next replay works them all out).
void ForgetReplayedPoints();

}  // namespace vna
