#include "scan/freq_list.h"

#include <cmath>

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/state.h"
#include "scan/state.h"
#include "shell/state.h"

namespace vna {
namespace {

constexpr int kMaxListPoints = 30010;
constexpr int kSkipBands = 12;

// With band skip, a frequency enters the list when it lies in a band widened
// by one step on each side.
bool InSkipBand(double f, double step) {
  for (int k = 1; k <= kSkipBands; ++k) {
    if (f < bandskip_end[k] + step && f + step + 0.00001 >= bandskip_start[k]) return true;
  }
  return false;
}

}  // namespace

void BuildFreqList(int /*mode*/, double step) {
  double* list = PortB_on == 1 ? scanB_freq : scanA_freq;
  int n = 0;
  freq = start_freq;
  while (n < max_points - 1 && n < kMaxListPoints && freq <= end_freq) {
    if (bandskip == 0 || InSkipBand(freq, step)) {
      if (n > 0) NextFreq();
      list[n] = freq;
      ++n;
    }
    freq += step;
  }
  Numscanpts = n;
}

void NextFreq() {
  if (scan_running <= 0 || freq <= 35 || MyVar2 >= 0.5) return;
  const double s = CalinProgress != 0 ? 0.05 : 0.02;
  double m = s;
  if (freq >= 1500) {
    m = 4 * s;
  } else if (freq >= 980) {
    m = 3 * s;
  } else if (freq >= 206) {
    m = 2 * s;
  }
  // Spurs lie at the multiples of a quarter of the DDS clock; a frequency
  // near one is always moved above it.
  const double c = dds_clk4;
  if (c > 0) {
    const double n = std::floor(freq / c + 0.0000001);
    const double lo = n * c, hi = (n + 1) * c;
    if (std::fabs(lo - freq) < m) {
      freq = lo + m;
    } else if (std::fabs(hi - freq) < m) {
      freq = hi + m;
    }
  }
  if (freq > 275) m = freq < 723 ? 0.009 : 0.012;
  if (freq > 99 && end_freq - start_freq > 5) {
    double w = std::floor(freq);
    double d = freq - w;
    if (d > 0.5) {
      d = 1 - d;
      w += 1;
    }
    if (d < m) freq = w + m;
  }
}

}  // namespace vna
