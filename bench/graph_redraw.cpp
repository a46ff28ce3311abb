// Redrawing the main graph from a stored scan of the largest size, 30012
// points, against one display frame at 60 Hz (16.7 ms): the empty frame
// (DrawGraph), then every point replayed as a stored scan replays it
// (ImpedanceFromPolar) and drawn on all six Port A traces (PlotPointA).
// The goal: a whole redraw within one frame.
//
// Counters: frames = the time of one redraw in display frames (goal below 1).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/pending.h"
#include "instrument/impedance.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr int kPoints = 30012;
constexpr double kFrameSeconds = 1.0 / 60;

// A stored scan: a series R-L-C circuit over 1..30 MHz, as magnitude and
// phase (what a replay reads back).
struct StoredScan {
  std::vector<double> f, zmag, phase;
  StoredScan() {
    for (int i = 0; i < kPoints; ++i) {
      const double mhz = 1 + 29.0 * i / (kPoints - 1);
      const double w = 2 * 3.141592654 * mhz * 1e6;
      const double x = w * 2e-6 - 1 / (w * 62.8e-12);
      f.push_back(mhz);
      zmag.push_back(std::hypot(20.0, x));
      phase.push_back(std::atan2(x, 20.0));
    }
  }
};

void OpenGraphWindow() {
  InitVars();
  maximumfreq = 1200;
  cal_end_freq = 1200;
  start_freq = 1;
  end_freq = 30;
  WinWidth = 1024;
  WinHeight = 700;
  OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu, "", [] { return 0; });
  bg_color = ReadPixel(main_win, 2, 2);
  SetTextBackground(main_win, true, bg_color);
  MeasureGraphLayout();
  plot_swrA = plot_rt = plot_zmagA = plot_rsA = plot_ZphaseA = 1;
  scan_running = 1;
}

// Runs one redraw per iteration and reports its wall time in display frames.
template <typename Redraw>
void RunInFrames(benchmark::State& state, Redraw redraw) {
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    redraw();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["frames"] =
      benchmark::Counter(seconds / kFrameSeconds, benchmark::Counter::kAvgIterations);
}

// The empty frame alone: grid, scales, labels, panels.
void BM_Frame(benchmark::State& state) {
  OpenGraphWindow();
  RunInFrames(state, [] { DrawGraph(); });
  CloseWindow(main_win);
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond);

// The whole redraw of a stored 30012-point scan.
void BM_RedrawFullScan(benchmark::State& state) {
  static const StoredScan scan;
  OpenGraphWindow();
  swrstyle = zmagstyle = static_cast<int>(state.range(0));
  RunInFrames(state, [] {
    DrawGraph();
    StartTracePlot();
    for (int i = 0; i < kPoints; ++i) {
      freq = scan.f[i];
      Zmag = scan.zmag[i];
      Zphase = scan.phase[i];
      ImpedanceFromPolar();
      PlotPointA();
    }
    EndTracePlot();
  });
  swrstyle = zmagstyle = 0;
  CloseWindow(main_win);
}
// Plain lines, and circles on two traces (a marker every 21 pixels).
BENCHMARK(BM_RedrawFullScan)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
