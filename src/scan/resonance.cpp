#include "scan/resonance.h"

#include <algorithm>
#include <cmath>

#include "scan/state.h"

namespace vna {

void FindResonances() {
  min_swr = 10000;
  for (int k = 0; k < last_point; ++k) {
    if (scanA_swr[k] < min_swr) {
      min_swr = scanA_swr[k];
      min_swr_freq = scanA_freq[k];
    }
  }
  std::fill(std::begin(resonance_freqs), std::end(resonance_freqs), -1.0);
  int count = 0;
  double peak = 0;
  for (int k = 0; k <= last_point - 2; ++k) {
    const double p0 = scanA_phase[k], p1 = scanA_phase[k + 1];
    const double f0 = scanA_freq[k], f1 = scanA_freq[k + 1];
    peak = std::max(peak, std::fabs(p0));
    if (p0 * p1 > 0) continue;
    double offset = 0;
    if (p1 - p0 != 0) offset = (f1 - f0) * (1 - p1 / (p1 - p0));
    // A phase that only dithers around zero is no resonance.
    if (peak > 0.1) {
      resonance_freqs[count] = f0 + offset;
      count = std::min(count + 1, 10);
    }
    peak = 0;
  }
}

}  // namespace vna
