// The marker table (`markers`, files/settings.h): emptying and sorting rows
// 1..20, and the marker file that saves and recalls a whole set.
#pragma once

namespace vna {

// Every row empty (frequency 10000, Rs..Rt 0; the S21 fields are kept);
// the next marker goes into row 1.
void ClearMarkers();
// Rows 1..20 in ascending frequency (equal frequencies keep their order);
// marker_next := the first free row (frequency 9000 or more), else 1.
void SortMarkers();

// Asks for a marker file (" Save Markers") and writes every row to it. When
// cmd_param is 8 (the marker window's Save) also writes the readable list of
// the defined markers beside it, the name ending in "mrx". A file that
// cannot be written is reported and the old one kept.
void SaveMarkers();
// Asks for a marker file (" Load Markers") and reads its 20 rows into the
// table, in the file's order (neither sorted nor counted). A file that is
// missing, larger than any marker file, has the wrong first line, ends early
// or holds a line without a number is reported and changes nothing, the
// remembered marker file and folder included.
void LoadMarkers();

}  // namespace vna
