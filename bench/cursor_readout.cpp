// The cursor readout at one mouse move over a full scan (30012 points) with
// the Smith chart, the second Smith chart and the polar plot open, beside
// one frame of a 60 Hz display (16.7 ms): the readout should take under a
// quarter of a frame, so the cursor keeps up with the mouse.
//
// Each move goes to another x across the plot box (the same x twice draws
// nothing), alternating so the stored point searched for lies anywhere in
// the scan.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "files/settings.h"
#include "graph/cursor_readout.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr double kFrameMs = 1000.0 / 60;

void Setup() {
  InitVars();
  maximumfreq = 1200;
  WinWidth = 1024;
  WinHeight = 700;
  OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption, "", [] { return 0; });
  for (Window* w : {&smith_win, &smith2_win, &polar_win}) {
    OpenWindow(*w, 0, 0, 600, 600, kWinCaption, "", [] { return 0; });
  }
  MeasureGraphLayout();
  start_freq = 1;
  end_freq = 30.0011;
  delta_freq = 0.001;
  graph_start = 0;
  graph_end = 30.0011;
  px_per_MHz = (graph_right - graph_left) / (graph_end - graph_start);
  last_x_px = graph_right;
  files_panel_y = graph_bottom - 3 * text_height;  // as the file-name panel leaves it
  last_step = delta_freq;
  scanloop = kScanArraySize;
  for (int i = 0; i < kScanArraySize; ++i) {
    const double f = start_freq + i * delta_freq;
    scanA_freq[i] = f;
    scanA_swr[i] = 1 + std::fabs(std::sin(f));
    scanA_zmag[i] = 50 + 20 * std::sin(f * 3);
    scanA_phase[i] = std::sin(f * 5);
    smith_px[i] = smith2_px[i] = polar_px[i] = 100 + i % 400;
    smith_py[i] = smith2_py[i] = polar_py[i] = 100 + (i * 7) % 400;
  }
  smith_active = smith2_active = polar_active = 1;
  PortB_on = 0;
  tdr_mode = 0;
}

void BM_CursorReadout(benchmark::State& state) {
  Setup();
  const int span = graph_right - graph_left;
  int step = 0;
  for (auto _ : state) {
    // Left and right halves in turn: the search runs over most of the scan.
    const int x = graph_left + (step % 2 == 0 ? span / 8 : span - span / 8) + (step / 2) % 50;
    CursorReadout(x, (graph_top + graph_bottom) / 2);
    ++step;
  }
  if (smith_dot_x == 0) state.SkipWithError("no dot was drawn");
  for (Window* w : {&smith_win, &smith2_win, &polar_win, &main_win}) CloseWindow(*w);
}

BENCHMARK(BM_CursorReadout)->Unit(benchmark::kMillisecond);

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
    std::printf("\nOne readout over %d points with three charts against a 60 Hz frame (%.1f ms):\n",
                kScanArraySize, kFrameMs);
    for (const auto& [name, ms] : ms_)
      std::printf("  %-18s %7.3f ms = %.3f frames (goal: under 0.25)\n", name.c_str(), ms,
                  ms / kFrameMs);
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
