#include "tools/scan_interpolation.h"

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
  int k = 0;
  double t = 0;  // fraction of the step above point k
  if (delta_freq > 0) {
    const double pos = (freq - start_freq) / delta_freq;
    // A frequency on a point (within rounding) takes that point exactly.
    const double nearest = std::round(pos);
    const double at = std::fabs(pos - nearest) < 1e-9 ? nearest : pos;
    if (at >= n - 1) {
      k = n - 1;
    } else if (at > 0) {
      k = static_cast<int>(std::floor(at));
      t = at - k;
    }
  }
  auto value = [&](const double* a) { return t == 0 ? a[k] : a[k] + t * (a[k + 1] - a[k]); };
  swr = std::fabs(value(scanA_swr));
  Zmag = value(scanA_zmag);
  Zphase = value(scanA_phase);
}

}  // namespace vna
