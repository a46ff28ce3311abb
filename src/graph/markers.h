// The marker table's housekeeping: emptying and sorting rows 1..20 of
// `markers` (files/settings.h).
#pragma once

namespace vna {

// Every row empty (frequency 10000, Rs..Rt 0; the S21 fields are kept);
// the next marker goes into row 1.
void ClearMarkers();
// Rows 1..20 in ascending frequency (equal frequencies keep their order);
// marker_next := the first free row (frequency 9000 or more), else 1.
void SortMarkers();

}  // namespace vna
