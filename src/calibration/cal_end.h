// How a calibration borrows the scan settings and gives them back, and how a
// Port A calibration ends: one that is cancelled, refused, halted or fails
// leaves the calibration that was in force before it in force.
#pragma once

namespace vna {

// Keeps average, smoothing, start_freq, end_freq, delta_freq, plot_at_zero,
// plot_swrA and plot_rt in their saved copies (sv_average ... sv_plot_rt).
void SaveScanSettings();
// Puts the saved copies back and sends the averaging. Draws nothing.
void RestoreScanSettings();

// Remembers the calibration in force: both tables, their point counts, the
// range, the standard resistor, the flags, the comment and date, the Port B
// gain ranges, the frequency plan and the names of its file.
void KeepCalInForce();
// Puts the calibration KeepCalInForce remembered back in force (nothing
// when it remembered none).
void PutBackCalInForce();

// The ending of every Port A calibration: clears scan_running and
// CalinProgress, puts back the calibration KeepCalInForce remembered and
// reads the calibration file named by cal_file_path with its summary box
// (none when that calibration is in no file, cal_unsaved);
// then sends average_saved, restores the scan settings, switches the relays
// off and gives the main window the focus. vna_status tells whether the file
// was read (0).
void EndCal();

}  // namespace vna
