// The range of a Port A calibration: the " Cal Limits" dialog of a band
// calibration, and the clamps every calibration's range passes through.
#pragma once

namespace vna {

// The most steps a band calibration may span: its points, with the three the
// calibration measures beyond the end, must fit a calibration file.
constexpr int kMaxCalSteps = 29996;

// The largest standard resistor a calibration takes, ohms (as the largest
// reference impedance a scan file keeps); it must be more than 0. Every
// corrected reading is scaled by it.
constexpr double kMaxRstd = 10000;

// Band calibrations (std_cal 0): the dialog for start, stop, step, amplitude
// and averaging; the typed values become cal_start_freq, cal_end_freq,
// cal_delta_freq ("k" for kHz), DDS_Amplitude and average (sent), and the
// step's text step_text. Cancel gives CalinProgress 0 and vna_status 3812;
// refusing the raised amplitude gives CalinProgress 0 and vna_status 3810.
// The standard calibration has no dialog.
void GetCalLimits();

// Clamps the calibration range (a step of 0.0001 to 2 MHz, at least 20 and
// at most kMaxCalSteps steps, within min_freq .. maximumfreq), offers full
// amplitude at low sensitivity, copies the range into the scan settings and
// into the remembered range of the band, rebuilds the menus and says in one
// message what it changed. A range that is empty after the clamps is
// refused with a message: CalinProgress 0 and vna_status 3814. Otherwise
// vna_status is 0.
void AdjustCalLimits();

// Handler of dlg_cal_limits: the fields show the calibration range, the
// amplitude and the averaging; "Enter" (7) returns the five texts in
// dlg_text1 .. dlg_text5 with 1, "Cancel" (8) closes with 2.
int CalLimitsHandler();

}  // namespace vna
