// The Port A calibration: the short circuit, the open circuit and the
// standard resistor measured in turn over the calibration range into
// CalDataA, checked, tested and saved.
#pragma once

namespace vna {

// The guided calibration over cal_start_freq .. cal_end_freq (cal_band 0:
// the standard calibration from 5 kHz to maximumfreq). Each standard is
// asked for, checked with one reading at 0.1 MHz and measured at every
// point; the short pass sets the points, three beyond the end. The data
// test, the Port B option, the comment and the calibration file follow; the
// file just written is then read back. A calibration that is cancelled,
// refused, halted or meets a silent instrument leaves the calibration in
// force before it in force (with none, PortA_cal stays 0); only a
// calibration that completed its three passes is marked loaded or offered
// for saving. vna_status: 7321 after a step-size failure (a multiplier
// change within two points).
void CalA();

// Two-multiplier model only: the ratio of Port A gain 5 to gain 1, read at
// 1 MHz (gain 5 at 20 % amplitude), into PortA_HiGain; a ratio outside 4..6
// is reported. Leaves the amplitude at 100 % and Port A gain 1. False when
// a reading failed: PortA_HiGain then stays as it was and nothing is said
// (vna_status holds the failure).
bool CheckGainA();

// Handler of dlg_calibration: shows cal_prompt (padded to 60 characters) on
// cal_prompt_color under the title cal_caption (the defined title while that
// is empty); "Continue" (1) closes with 1, "Cancel" (2) with 2.
int CalibrationHandler();

// The standard calibration's frequency plan: point i's frequency and the
// step after it, from the frequency and step the previous point left (a
// fixed table for points 0..22, then 0.05, 0.2, 1 and 2 MHz steps).
void StdCalPoint(int i, double& f, double& step);
// The frequency after f: f + step, except that a calibration ending above
// 10 MHz skips from below 1 MHz to 1.05 MHz.
double NextCalFreq(double f, double step, double end);

}  // namespace vna
