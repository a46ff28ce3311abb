// The Port B scan file (".scnb") with its spreadsheet companion ("_B.csv"):
// the user's save and load commands, the automatic saves, the exit save and
// the start-up load.
#pragma once

namespace vna {

// Status of a Port B file refused for a gain step or sensitivity that no
// instrument has, or for binary content (the counts and the early end use
// the Port A file's statuses).
enum : int {
  kStatusScanFileGain = 7234,
};

// Writes the measured points of the stored Port B scan (scanB_npoints = n;
// n + 1 records, the last a frequency with zeros) and its "_B.csv"
// companion under the name save_mode gives: 0 the file dialog, 1
// the exit name, 10 the auto-save name with the suffix in msg_text. Written
// to a temporary name and renamed: a failed write is reported and the old
// file kept. Limits that no scan can have are refused with a box (while the
// main loop runs); with no measured point nothing is written, and the dialog
// save says so. save_mode is 0 afterwards.
void SaveScanB();

// Reads a Port B scan under the name save_mode gives and, in Port B mode,
// draws it by replaying it through Scan_B. A file that cannot be opened is
// passed over silently; an old format is loaded after a warning; one larger
// than any Port B scan file, whose point count, gain step or sensitivity is
// out of range, that ends early or holds binary data, a line without a
// number where one belongs, or a frequency no point can have (outside every
// model's range, or a measured point below the one before it;
// kStatusScanFileValue) is refused with a message, vna_status set, and
// nothing changed.
void LoadScanB();

}  // namespace vna
