// Draws the stored Port A scan into a graph frame already drawn, point by
// point as the scan drew it: frequency, |Z| and phase from the scan arrays,
// the SWR the array holds. Rs and Xs go into their arrays for the charts.
#pragma once

#include "files/settings.h"
#include "graph/trace_plot.h"
#include "instrument/impedance.h"
#include "instrument/state.h"
#include "scan/state.h"

namespace vna::test {

inline void PlotStoredScanA(int points) {
  scan_running = 1;  // a plain pen: the dotted one marks a halted scan
  StartTracePlot();
  for (int k = 0; k < points; ++k) {
    freq = scanA_freq[k];
    Zmag = scanA_zmag[k];
    Zphase = scanA_phase[k];
    ImpedanceFromPolar();
    swr = scanA_swr[k];
    scanA_Rs[k] = point_Rs;
    scanA_Xs[k] = point_Xs;
    PlotPointA();
  }
  EndTracePlot();
  scan_running = 0;
}

}  // namespace vna::test
