// The search for the frequency at which the phase of the impedance on Port A
// changes sign: the quarter-wave frequency of an open or shorted cable. Shared
// by distance to fault, the quarter-wave stub and the crystal measurement.
#pragma once

namespace vna {

// In diagnostic mode, a filled dot (shape 1: a circle of radius size, else a
// square of side size) at frequency f (MHz) and phase (radians) on the main
// graph, inside the plot box. Outside diagnostic mode nothing.
void PlotDebugPoint(double f, double phase, int shape, int size, int color);

// vna_status of a search that found no crossing.
constexpr int kStatusNoCrossing = 1;

// Steps up from f_start by step (each step half as long again as the one
// before) until the phase changes sign before f_max, then halves the interval
// down to 0.00006 MHz. Halt (recycle_on cleared) ends it. On return freq
// and Zphase hold the last point measured, search_max_phase the largest
// |phase| seen while stepping, and vna_status is 0 when a crossing was found,
// kStatusNoCrossing when none was, otherwise the status of the reading that
// failed and ended the search (ReadingFailed; nothing said yet). With
// show_progress each point is printed at (10, 5) of the main window.
// Averaging ends as it was.
void FindPhaseCrossing(double f_start, double f_max, double step, int show_progress);

}  // namespace vna
