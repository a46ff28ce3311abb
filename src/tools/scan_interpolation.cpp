#include "tools/scan_interpolation.h"

#include <algorithm>
#include <cmath>

#include "files/settings.h"
#include "instrument/state.h"
#include "scan/state.h"
#include "tools/stored_scan.h"

namespace vna {

StoredSpot SpotOf(const double* freqs, int n, double f) {
  StoredSpot s;
  if (n < 2 || !(f > freqs[0])) return s;
  if (!(f < freqs[n - 1])) {
    s.k = n - 1;
    return s;
  }
  // The first point above f; the one before it is at or below f.
  const int above = static_cast<int>(std::upper_bound(freqs, freqs + n, f) - freqs);
  s.k = above - 1;
  const double span = freqs[above] - freqs[s.k];
  // A frequency on a point (within rounding) takes that point exactly.
  s.t = span > 0 ? (f - freqs[s.k]) / span : 0;
  if (s.t < 1e-9) s.t = 0;
  if (s.t > 1 - 1e-9) {
    s.k = above;
    s.t = 0;
  }
  return s;
}

void InterpolateScanAt() {
  const int n = StoredPointsA();
  if (n < 1) return;
  const StoredSpot at = SpotOf(scanA_freq, n, freq);
  swr = std::fabs(at.Of(scanA_swr));
  Zmag = at.Of(scanA_zmag);
  Zphase = at.Of(scanA_phase);
}

}  // namespace vna
