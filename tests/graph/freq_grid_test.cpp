// The frequency grid for spans from a few hundred hertz to the whole range
// of the 1200 MHz model, and the decimals of the range's frequencies.
#include <gtest/gtest.h>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/state.h"
#include "shell/state.h"

namespace vna {
namespace {

struct GridCase {
  double start, end;
  int at_zero;
  double cal_end, max_freq;
  int divs;
  double per_div, graph_start, graph_end, end_after;
};

TEST(FreqGridTest, ChoosesTheDivisionsThatJustCoverTheSpan) {
  const GridCase cases[] = {
      // The span is a millionth short of 24: 12 of 2 MHz.
      {1, 25, 0, 1200, 1200, 12, 2, 1, 25, 25},
      // 6 of 5 MHz; the end moves out to the grid end when calibration and
      // model allow, else to the lower of the two.
      {1, 30, 0, 1200, 1200, 6, 5, 1, 31, 31},
      {1, 30, 0, 30.5, 1200, 6, 5, 1, 31, 30.5},
      {1, 30, 0, 1200, 30.2, 6, 5, 1, 31, 30.2},
      {1, 30, 1, 1200, 1200, 6, 5, 0, 30, 30},
      // The 180 MHz model from its lowest frequency: 9 of 20 MHz.
      {0.005, 180, 0, 180, 180, 9, 20, 0.005, 180.005, 180},
      // The 1200 MHz model: the axis runs to 1201, the end stays 1200.
      {1, 1200, 0, 1200, 1200, 12, 100, 1, 1201, 1200},
      // Equal excess: the pair met first wins.
      {0, 10, 0, 1200, 1200, 10, 1, 0, 10, 10},
      {0, 12, 0, 1200, 1200, 6, 2, 0, 12, 12},
      // No span: the smallest product, 5 of 0.1 kHz.
      {7, 7, 0, 1200, 1200, 5, 0.0001, 7, 7.0005, 7.0005},
      // A few hundred hertz, a few kilohertz, a crystal's span.
      {10, 10.0005, 0, 1200, 1200, 5, 0.0001, 10, 10.0005, 10.0005},
      {3.5, 3.503, 0, 1200, 1200, 6, 0.0005, 3.5, 3.503, 3.503},
      // In double arithmetic 15 x 0.02 lies closer to 0.3 than 6 x 0.05.
      {7, 7.3, 0, 1200, 1200, 15, 0.02, 7, 7.3, 7.3},
      {14, 14.37, 0, 1200, 1200, 15, 0.025, 14, 14.375, 14.375},
      {100, 450, 0, 1200, 1200, 7, 50, 100, 450, 450},
      // Wider than any pair: the first choice stays.
      {0, 2500, 0, 3000, 3000, 6, 0.0001, 0, 0.0006, 0.0006},
  };
  for (const GridCase& c : cases) {
    start_freq = c.start;
    end_freq = c.end;
    plot_at_zero = c.at_zero;
    cal_end_freq = c.cal_end;
    maximumfreq = c.max_freq;
    FreqGrid();
    const std::string what = std::to_string(c.start) + ".." + std::to_string(c.end);
    EXPECT_EQ(freq_divs, c.divs) << what;
    EXPECT_DOUBLE_EQ(freq_per_div, c.per_div) << what;
    EXPECT_DOUBLE_EQ(graph_start, c.graph_start) << what;
    EXPECT_NEAR(graph_end, c.graph_end, 1e-9) << what;
    EXPECT_NEAR(end_freq, c.end_after, 1e-9) << what;
  }
  plot_at_zero = 0;
}

TEST(FreqGridTest, DecimalsFollowTheSpan) {
  const struct {
    double start, end;
    int decimals;
  } cases[] = {{1, 25, 3},    {1, 11, 3},     {1, 10.99, 4}, {7, 7.3, 5}, {7, 7.05, 6},
               {7, 7.001, 7}, {7, 7.0009, 8}, {7, 7, 8},     {7, 6, 8}};
  for (const auto& c : cases) {
    start_freq = c.start;
    end_freq = c.end;
    FreqDecimals();
    EXPECT_EQ(number_decimals, c.decimals) << c.start << ".." << c.end;
  }
}

}  // namespace
}  // namespace vna
