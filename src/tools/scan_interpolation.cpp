#include "tools/scan_interpolation.h"

#include <algorithm>
#include <cmath>

#include "files/settings.h"
#include "instrument/state.h"
#include "scan/pending.h"
#include "scan/state.h"
#include "tools/stored_scan.h"

namespace vna {

void InterpolateScanAt() {
  const int n = StoredPointsA();
  if (n < 1) return;
  // By the stored frequencies, not the present start and step: the limits
  // may have moved since, and a list with skipped bands or points moved off
  // a spur is no uniform grid.
  const double* f = scanA_freq;
  int k = 0;
  double t = 0;  // fraction of the way to point k + 1
  if (freq >= f[n - 1]) {
    k = n - 1;
  } else if (freq > f[0]) {
    k = static_cast<int>(std::upper_bound(f, f + n, freq) - f) - 1;  // f[k] <= freq < f[k + 1]
    const double span = f[k + 1] - f[k];
    t = span > 0 ? (freq - f[k]) / span : 0;
    // A frequency on a point (within rounding) takes that point exactly.
    if (t < 1e-9) {
      t = 0;
    } else if (t > 1 - 1e-9) {
      ++k;
      t = 0;
    }
  }
  auto value = [&](const double* a) { return t == 0 ? a[k] : a[k] + t * (a[k + 1] - a[k]); };
  swr = std::fabs(value(scanA_swr));
  Zmag = value(scanA_zmag);
  Zphase = value(scanA_phase);
}

}  // namespace vna
