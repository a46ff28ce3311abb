// Time-domain reflectometry of a cable on Port A: a sweep of corrected
// reflection coefficients from near 0 MHz, completed into the spectrum of a
// real signal, transformed back into an impulse response and summed into the
// step response (reflection coefficient against distance), drawn as the TDR
// trace over the TDR frame.
#pragma once

#include "shell/complex.h"

namespace vna {

// The current sweep point: its impedance behind the offset line, and its
// reflection coefficient against tdr_zo.
extern Complex tdr_point_z, tdr_point_rho;

// The sweep plan and the scales of the TDR plot from DXscale, tdr_high_res,
// VF, tdr_dist_factor, tdr_zmax, tdr_range_factor, maximumfreq and the plot
// box: Numpts, Tdr_delf, LengthOffset, DXfactor, FeetPerNdx, tdr_zscale and
// tdr_rho_scale.
void SetTDRPoints();
// The frequency step of the sweep (MHz) for n points at the present distance
// scale, limited so the sweep ends at maximumfreq at most.
double TDRFreqStep(int n);
// Feet of line of velocity factor vf per sample of an n-point transform of a
// sweep in steps of step_mhz: half the speed on the line times the time one
// sample spans.
double TDRFeetPerSample(double vf, double step_mhz, int n);
// The feet per sample a TDR file holds, as this program places its trace:
// files written before the distance axis was mended hold 512 feet per
// microsecond in place of half the speed of light (4 % more); a value that
// matches that rule for the file's own velocity factor, step and point count
// is scaled back, any other is kept.
double TDRFileFeetPerSample(double written, double vf, double step_mhz, int n);

// Measures the reflection coefficient at Numpts / 2 + 1 frequencies into
// tdr_spec_re / tdr_spec_im, each seen behind LengthOffset feet of 50 ohm
// line. Stops after the point at which scan_running was cleared or a read
// failed. Returns the number of points measured.
int SweepTDR();
// The reflection coefficient against tdr_zo of the impedance tdr_point_z
// (the current sweep point behind its offset line), into tdr_point_rho.
void TDRReflection();

// The TDR command (Scan and Rescan in TDR mode). Refused while a scan or
// another run measures, without an instrument, and without a calibration
// from 0.1 MHz up to the sweep's top frequency. A run that does not measure
// every point (Halt, exit, a failed read) leaves the stored trace, its
// title and the auto-save file as they were.
void RunTDR();

// The step response of a measured spectrum: points 0..n/2 of re/im
// completed by conjugate symmetry to n bins, weighted by a Hamming window
// (x 10) when `hamming`, inverse transformed by a direct sum and summed into
// response[1..n/2 - 1], scaled so a reflection rho gives a step to about rho.
// response[0] and the entries from n/2 on are not written. n is even, 4..2098.
void TDRStepResponse(const double* re, const double* im, int n, bool hamming, double* response);
// Smoothing of response[1..h - 1] in place: mode 0 averages samples 1..h - 3
// with their right neighbour (the last two stay); any other mode runs a
// three-point average over samples 2..h - 2 that feeds its own results
// forward.
void SmoothTDR(double* response, int h, int mode);

// Draws the stored trace (tdr_response with tdr_trace_points and
// tdr_feet_per_index) over the TDR frame already drawn and rewrites the
// auto-save file; then the plan again follows the present settings. Draws
// nothing without a stored trace.
void PlotStoredTDR();

// The distance and impedance full scales the TDR plot can draw, snapped up
// from any value as the TDR Scales dialog snaps a typed one: feet (absolute
// value, rounded) 5, 10, 20, 50, 100, 200, 500, 1000 or 2000; ohms 70, 100,
// 200, 500 or 1000.
double SnapTDRDistance(double feet);
double SnapTDRImpedance(double ohms);

}  // namespace vna
