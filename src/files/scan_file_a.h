// The Port A scan file (".scn") with its spreadsheet companion (".csv"): the
// user's save and load commands, the automatic saves, the exit save and the
// start-up load.
#pragma once

namespace vna {

// Statuses of a scan file that is refused; the scan in memory stays as it was.
enum : int {
  kStatusScanFileCount = 7232,   // a point count outside 1 .. max_points
  kStatusScanFileFormat = 7233,  // not a Port A scan file of a format this program reads
  kStatusScanFileEnd = 78331,    // no end-of-data line after the points: truncated or damaged
  // A line without a number where the layout has one, or a point no
  // measurement can have: a frequency outside every model's range or below
  // the point before it, an impedance beyond any reading.
  kStatusScanFileValue = 7235,
};

// Writes the measured points of the stored Port A scan (scanA_npoints) under
// the name save_mode gives: 0 the file dialog (then also the companion ".csv"), 1
// the exit name, 10 the auto-save name with the suffix in msg_text. The file
// is written to a temporary name and renamed: a failed write is reported and
// the old file kept. Limits that no scan can have are refused with a box
// (while the main loop runs); with no measured point (after a band scan, or
// none yet) nothing is written, and the dialog save says so. In TDR mode it
// saves the TDR data instead.
// save_mode is 0 afterwards (not after the TDR branch).
void SaveScanA();

// Reads a Port A scan under the name save_mode gives (0 the file dialog, 1
// the exit name, 10 the auto-save name with the suffix in msg_text, 3 the
// file start-up found on the command line) and, in Port A mode, draws it by
// replaying it through Scan_A. A file that cannot be opened is passed over
// silently; one larger than any Port A scan file, whose format, point count
// or end-of-data line is wrong, that holds a line without a number where
// one belongs, or a point no measurement can have (kStatusScanFileValue), is
// refused with a message, vna_status set, and nothing changed.
void LoadScanA();

}  // namespace vna
