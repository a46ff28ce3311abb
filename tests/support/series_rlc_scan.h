// A stored Port A scan as a loaded file or a finished scan leaves it, for
// the redraw and load tests and benchmarks: a series R-L-C circuit (20 ohms,
// 2 uH, 62.8 pF, resonant near 14.2 MHz) over 1..30 MHz, its frequencies,
// |Z| and phase in the arrays a replay reads, with the point count and the
// scan limits.
#pragma once

#include <cmath>

#include "files/settings.h"
#include "scan/state.h"

namespace vna::test {

inline void StoreSeriesRlcScanA(int points) {
  for (int i = 0; i < points; ++i) {
    const double mhz = 1 + 29.0 * i / (points - 1);
    const double w = 2 * 3.141592654 * mhz * 1e6;
    const double x = w * 2e-6 - 1 / (w * 62.8e-12);
    scanA_freq[i] = mhz;
    readA_zmag[i] = std::hypot(20.0, x);
    readA_phase[i] = std::atan2(x, 20.0);
  }
  scanA_npoints = Numscanpts = scanloop = points;
  scana_ok = 1;
  start_freq = 1;
  end_freq = 30;
  delta_freq = 29.0 / (points - 1);
}

}  // namespace vna::test
