// The calibration file (.vcal, and .chan1 .. .chan6 for the channels of the
// multiplexer): writing the calibration in memory, and loading one back.
//
// Layout, each line ending in CR LF:
//   1-18   header: " 16300", maximumfreq, program version, instrument line,
//          date and time, model prefix, Rstd, comment, temperature, std_cal,
//          cal_start_freq, cal_end_freq, cal_delta_freq, DDS_Amplitude,
//          PortA_Sens, PortA_Gain, cal_points, " 1"
//   model block, on the two-multiplier model only (6 + N + M lines):
//          a heading; N, the frequency-plan entries written (the plan up to
//          and including the entry that ends it); N lines "start-MHz code";
//          GainAfreq5x; GainAfreq2; clk_intervals; M = osc_band_count;
//          M lines "low-MHz high-MHz" of the oscillator-2 bands 1..M
//   DDS_Amplitude again, then the short, open and standard-resistor tables
//   (a heading and cal_points rows each), then the Port B section: heading,
//   point count (0 without a Port B calibration), indep_chan, " 0", five
//   gain-range lines and the low and high sensitivity tables.
#pragma once

#include <string>

namespace vna {

// Writes the calibration in memory. Without a multiplexer channel
// (mux_chan 0) and for channel 1 it asks for the file with the save dialog
// (its path is kept in cal_save_name); channels 2..6 take their name from
// cal_save_name without asking. A cancelled dialog writes nothing. The file
// is written to a temporary name and put in place when complete. A file
// that cannot be written is reported with its reason; without a channel
// beyond 1 another name is then offered, and when none is written the
// calibration in memory is marked as in no file (cal_unsaved 1, the names
// empty). After a write cal_file_path, cal_file_name and cal_folder name the
// new file, cal_unsaved is 0 and 3 decimals are in force. file_name is left
// at cal_file_path, so reading the calibration back reads the file in force
// ("" for none). True when the file was written.
bool SaveCalFile();

// The file of multiplexer channel n for a chosen calibration file: the
// file's own name up to its first ".", then "chan" and n (C:\cal\x.vcal
// gives C:\cal\x.chan1; a folder with a dot in its name stays whole). A name
// without a "." gets ".chan" + n appended. "" for an empty path.
std::string CalChannelFileName(const std::string& path, int chan);

// GetPortACal's status for a file of the other model while no instrument
// answers: nothing is said and the file stays named, since only the missing
// instrument keeps it from being loaded.
constexpr int kStatusCalNeedsInstrument = 34510;

// Loads the calibration file named by file_name: vna_status 0 when it was
// loaded, else the failure's status after its message (none for a missing
// file without an instrument, and under api_busy only the messages the
// system always shows). A file larger than any calibration file is refused
// unread; a table row without its numbers, or a frequency below the one of
// the row before, ends the load. The whole file is checked before anything
// is taken:
// a file that fails leaves the tables, the calibration settings, the flags
// and the names exactly as they were, except that with a multiplexer channel
// set (mux_chan > 0) PortB_cal becomes 0, as that channel has no usable
// Port B calibration. On success it sets the tables, cal_points, MaxCalANdx,
// MaxCalBNdx (with Port B data), PortA_cal, PortB_cal, cal_valid,
// cal_file_name and cal_folder, sends the amplitude and gains, redraws the
// file panel and the menus, and shows the summary box when show_summary is 1.
void GetPortACal(int show_summary);

// Cuts line_buf into cal_field[0..7] at runs of blanks; missing fields are
// empty, a ninth and later field are dropped.
void SplitCalLine();

}  // namespace vna
