// The measuring part of the Port A calibration: the check of a standard at
// 0.1 MHz and the three passes over the calibration points, with the
// trace lines and dots of diagnostic mode. Used by cal_port_a.cpp only.
#pragma once

namespace vna {

// How a pass ended.
enum class PassEnd {
  kDone,
  kHalted,    // Halt cleared scan_running
  kNoData,    // a reading failed (vna_status > 0)
  kStepSize,  // the short pass saw a multiplier change within two points
};

// One uncorrected Port A reading at freq; false when the instrument gave no
// usable reply.
bool CalReading();

// The short pass: sets the calibration points (frequency, short reading,
// multiplier state, gain, oscillator) from cal_start_freq (or the standard
// plan) until three points lie beyond cal_end_freq, never more than the
// table and a calibration file hold; then cal_points, MaxCalANdx,
// cal_start_freq and cal_end_freq.
PassEnd ShortPass();

// The open (which 1) or standard-resistor (which 2) pass over the points the
// short pass set.
PassEnd StandardPass(int which);

// Diagnostic mode: the graph frame and scale the passes draw their dots on.
void DiagnosticFrame();

}  // namespace vna
