#include "graph/freq_grid.h"

#include <iterator>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "shell/text.h"

namespace vna {

namespace {

// Division counts in the order the search takes them from the back: 6, 7,
// 8, 9, 10, 5, 12 ... The 5 between 12 and 10 matters: of equal fits the
// first found wins.
constexpr int kDivCounts[] = {20, 18, 16, 15, 14, 13, 12, 5, 10, 9, 8, 7, 6};
constexpr double kDivSteps[] = {0.0001, 0.0002, 0.00025, 0.0005, 0.001, 0.002, 0.0025, 0.005,
                                0.01,   0.02,   0.025,   0.05,   0.1,   0.2,   0.25,   0.5,
                                1,      2,      5,       10,     20,    25,    50,     100};

}  // namespace

void FreqGrid() {
  const double left = plot_at_zero != 0 ? 0.0 : start_freq;
  const double span = (end_freq - left) - 0.000001;
  double best_excess = 10000000;
  int best_divs = kDivCounts[std::size(kDivCounts) - 1];
  double best_step = kDivSteps[0];
  for (size_t c = std::size(kDivCounts); c-- > 0;) {
    for (double step : kDivSteps) {
      const double excess = step * kDivCounts[c] - span;
      if (excess >= 0 && excess < best_excess) {
        best_excess = excess;
        best_divs = kDivCounts[c];
        best_step = step;
      }
    }
  }
  freq_divs = best_divs;
  freq_per_div = best_step;
  graph_start = left;
  graph_end = graph_start + freq_per_div * freq_divs;
  end_freq = graph_end;
  if (graph_end > cal_end_freq) end_freq = cal_end_freq;
  if (end_freq > maximumfreq) end_freq = maximumfreq;
}

void FreqDecimals() {
  double span = end_freq - start_freq;
  int n = 3;
  while (n < 8 && span < 10) {
    span *= 10;
    ++n;
  }
  SetDigits(n);
}

}  // namespace vna
