// The marker data window (marker_win) and its listing passes.
#pragma once

namespace vna {

// Opens the marker window for the present port (Port B: MarkerData_B),
// lists the defined markers inside the scan limits and keeps the window's
// events flowing until it is closed. Refused with a message without markers
// or without a calibration (a recalled scan needs none).
void MarkerData_A();
void MarkerData_B();
// One listing of the open window, repeated while Recycle is on; with
// marker_measure set each marker is measured anew first (a recalled scan:
// read off the stored scan). A reading that fails ends the listing and
// Recycle. Port B: ListMarkers_B.
void ListMarkers_A();
// The Port B listing: S21 and its phase off the stored Port B scan, only
// with an instrument.
void ListMarkers_B();

}  // namespace vna
