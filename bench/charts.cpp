// Drawing a Smith chart and a polar plot of a full scan (30012 points)
// beside one frame of a 60 Hz display (16.7 ms): a chart of the longest scan
// should take no more than one frame.
//
// Each drawing runs as in recycle mode, over a window already open and with
// the grid drawn anew, so the time is the drawing's alone (no window opened,
// no wait for the user).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "files/settings.h"
#include "graph/polar_plot.h"
#include "graph/smith_chart.h"
#include "graph/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"

namespace vna {
namespace {

constexpr double kFrameMs = 1000.0 / 60;

// A scan whose reflection winds round the chart many times, as a long line
// does: every point lies somewhere else, every segment is short.
void FullScan() {
  InitVars();
  scan_npoints = kChartPoints;
  for (int i = 0; i < kChartPoints; ++i) {
    const double m = 0.2 + 0.75 * i / kChartPoints, a = i * 0.01;
    const double gr = m * std::cos(a), gi = m * std::sin(a);
    // Z = 50 (1 + G) / (1 - G)
    const double d = (1 - gr) * (1 - gr) + gi * gi;
    scanA_Rs[i] = 50 * (1 - gr * gr - gi * gi) / d;
    scanA_Xs[i] = 50 * 2 * gi / d;
  }
  markerena = 0;
  recycle_on = 1;
  recycle_count = 1;
  tdr_mode = 0;
  PortB_on = 0;
}

void BM_Smith(benchmark::State& state) {
  FullScan();
  OpenWindow(smith_win, 0, 0, 585, 585, kWinCaption, "", [] { return 0; });
  for (auto _ : state) Smith();
  CloseWindow(smith_win);
  if (smith_px[1000] == 0) state.SkipWithError("the trace was not drawn");
}

void BM_PolarPlot(benchmark::State& state) {
  FullScan();
  win_yscale = 1;
  polar_s11 = 1;
  polar_swr = polar_z = 0;
  OpenWindow(polar_win, 0, 0, 650, 675, kWinCaption, "", [] { return 0; });
  for (auto _ : state) PolarPlot();
  CloseWindow(polar_win);
  if (polar_px[1000] == 0) state.SkipWithError("the trace was not drawn");
}

BENCHMARK(BM_Smith)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolarPlot)->Unit(benchmark::kMillisecond);

// The console report, then each drawing as a share of one frame.
class FrameReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        ms_[run.run_name.function_name] = run.GetAdjustedRealTime();  // unit: ms
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nOne drawing of %d points against a 60 Hz frame (%.1f ms):\n", kChartPoints,
                kFrameMs);
    for (const auto& [name, ms] : ms_)
      std::printf("  %-14s %7.2f ms = %.2f frames\n", name.c_str(), ms, ms / kFrameMs);
  }

 private:
  std::map<std::string, double> ms_;
};

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  benchmark::Initialize(&argc, argv);
  vna::FrameReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
