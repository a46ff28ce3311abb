// Least-squares polynomial fit over the DSP working arrays (scan/state.h):
// the noise filters fit smooth curves through the points they trust.
#pragma once

namespace vna {

// Fits y2_dat over x2_dat (the first dsp_fit_points entries) with the order
// dsp_poly_order taken within 1..7, and writes entries 0..order of
// dsp_poly_coef; higher entries are left alone, so callers clear them first.
// A singular system stays finite: a pivot below 1e-7 is taken as 1e-7.
void PolyFit();
// dsp_fit_curve[i] := the polynomial at x_dat[i] for i = first..last, with
// the terms up to the present dsp_poly_order (the square always).
void EvalPolyFit(int first, int last);
// The largest |y_dat - dsp_fit_curve| over first..last among the kept points
// (y_dat above -4); 0 when none is kept.
double MaxFitDeviation(int first, int last);

}  // namespace vna
