// The shared line reader of every data file (init, state, config, scan, TDR,
// calibration and marker files): the next line of data_file into line_buf,
// and the numeric value of a line.
#pragma once

#include <string>

namespace vna {

// Reads the next line of data_file into line_buf. line_no is the caller's own
// count of lines (from 1) and does not change what is read. CR LF, LF and CR
// all end a line; the line end is not stored, blanks and tabs are. At the end
// of the file, and on every call after it, line_buf is empty; the file stays
// open and nothing is reported.
void ReadDataLine(int line_no);

// The value of a line (ParseNumber): blanks and tabs skipped, an optional
// "-", digits, optionally "." and digits, optionally an exponent; the rest
// is ignored. No plus sign; a line that starts with anything else (or an
// empty one) is 0.
double LineValue(const std::string& line);
double LineValue();  // of line_buf
// Whether the text starts, after blanks and tabs, with a number the value
// rule reads: an optional "-", then digits with an optional "." and digits,
// at least one digit in all; and whether that number is finite (one beyond
// the range of a double, "1e999", is no number a file can hold). Anything
// else reads as 0 without being one.
bool HoldsNumber(const std::string& text);
// The same, rounded to an integer with halves to even.
int LineValueInt(const std::string& line);
int LineValueInt();  // of line_buf

}  // namespace vna
