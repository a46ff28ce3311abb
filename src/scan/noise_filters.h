// The noise filters of a Port A scan and the command that runs them: outliers
// found from each point's deviation from the line through its neighbours are
// rejected, then the impedance magnitude and phase curves (readA_zmag,
// readA_phase) are replaced by least-squares polynomial fits through the
// points kept.
#pragma once

namespace vna {

// The " Enter Data " prompt for a centre: a centre of 0.1 MHz or more rescans
// the instrument live around it (the half-width asked next); 0 keeps the
// present scan. Then the filter dsp_filter (1 or 2) cleans the Port A scan in
// memory and the scan is replayed over the graph with wider pens. In Port B
// mode the filter is not run: it says the filters work on Port A scans. A
// live rescan that failed is neither filtered nor replayed, and its status
// stays in vna_status.
void RescanCenter();

// The filters work on the points the stored Port A scan measured
// (scanA_npoints), never on the repeated rest of a halted scan's list.
// Filter 1: one order-6 fit of |Z| and one order-7 fit of the phase over the
// whole scan through the kept points. Filter 2: piece by piece, each piece
// shortened until its fit is within a tolerance. Both leave a scan of fewer
// than 5 points unchanged.
void DspFilterFlag();
void DspFilterFit();

// Devs[i] for the first n points of y_dat: the summed distance of points
// i-2..i+2 from the line through the means of their outer pairs, relative
// to the line's value at i (0 for the two points at each end, and where
// that value is 0).
void LocalDeviations(int n);
// Sorts Devs[0..n-1] ascending (Shell sort, values rounded to single
// precision as they are placed).
void ShellSortDevs(int n);

// The message of a filter that kept fewer than half of the points.
extern const char* const kNoisyDataText;

}  // namespace vna
