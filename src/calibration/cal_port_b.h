// The Port B calibration: a through connection from Port A to Port B
// measured at every Port A calibration frequency, after the gain and phase
// of the Port B gain steps.
#pragma once

namespace vna {

// Measures the gain steps 2 and 3 at 1 MHz into RngGain and Rng, then the
// B/A ratio and phase of the through connection at every Port A calibration
// frequency into CalDataB: at low sensitivity and, on the single-oscillator
// model, again at high sensitivity (elsewhere the high fields copy the low
// ones). Asks for the through cable unless mux_chan is 2 or more; with
// calB_only it needs a Port A calibration and runs over the calibration
// limits. Outcome in calB_error (0 success, 1 instrument status, 13/19
// supply, 20/30 gain step, 999 refused, cancelled, halted, no reference or
// weak signal). Only a run that measured both passes without an error sets
// PortB_cal to 1 and MaxCalBNdx to cal_points - 1; any other end leaves
// PortB_cal 0 and puts the gain steps in force before it back.
void CalB();

}  // namespace vna
