// Point data mode and the noise filters beside the serial line they wait on.
//
// A reading of point data mode puts one "E" command (20 bytes) and its
// 72-byte reply on the line, 10 bit times a byte: 15.97 ms at 57600 baud. The
// program's own work per reading beyond the measured point (which
// bench_measured_point covers) is drawing it into the point window: the SWR
// bar and the large-print lines. The noise filters process a whole scan: 30000
// points took 30000 such exchanges to measure. Goal: under 1 % of the line
// for each.
//
//   build/bench/bench_point_data
#include <benchmark/benchmark.h>
#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/measurement_reply.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/noise_filters.h"
#include "scan/point_display.h"
#include "scan/point_win.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"

namespace vna {
namespace {

constexpr int kBytesPerPoint = 20 + kReplyBytes;
constexpr int kScanPoints = 30000;

double LineSeconds() {
  return kBytesPerPoint * 10.0 / 57600;
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

double cpu_per_reading = 0, cpu_filter[3] = {};

void BM_ShowPointData(benchmark::State& state) {
  PointWinWidth = 1024;
  PointWinHeight = 700;
  OpenWindow(point_win, 0, 0, PointWinWidth, PointWinHeight, kWinCaption | kWinSysMenu,
             " Point Data - Port A", PointWinHandler);
  hcom = 1;  // drawn only while the port is open
  pointdata_on = 1;
  vna_status = 0;
  freq = 14.2;
  point_Rs = 75;
  point_Xs = 12;
  Rp = 76.9;
  Xp = 480;
  swr = 1.56;
  rho = 0.22;
  s11 = {0.2, 0.09};
  Zphase = 0.159;
  double cpu = 0;
  int n = 0;
  for (auto _ : state) {
    const double c0 = ThreadCpuSeconds();
    ShowPointData();
    cpu += ThreadCpuSeconds() - c0;
    ++n;
    PumpEvents();  // the window repaints, as between readings
  }
  cpu_per_reading = cpu / n;
  CloseWindow(point_win);
  hcom = -1;
}

// A scan of 30000 points: a smooth |Z| and phase with an outlier every 4999
// (closer ones would merge: rejections less than 7.5 % of the scan apart are
// bridged).
void LoadScan() {
  Numscanpts = kScanPoints;
  for (int i = 0; i < kScanPoints; ++i) {
    const double x = (i - kScanPoints / 2) / 1000.0;
    readA_zmag[i] = 100 + 3 * x - 0.2 * x * x + (i % 4999 == 0 ? 400 : 0);
    readA_phase[i] = 0.3 + 0.01 * x;
  }
}

void BM_Filter(benchmark::State& state) {
  const int filter = static_cast<int>(state.range(0));
  double cpu = 0;
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    LoadScan();
    state.ResumeTiming();
    const double c0 = ThreadCpuSeconds();
    if (filter == 1) {
      DspFilterFlag();
    } else {
      DspFilterFit();
    }
    cpu += ThreadCpuSeconds() - c0;
    ++n;
  }
  cpu_filter[filter] = cpu / n;
}

BENCHMARK(BM_ShowPointData)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_Filter)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  vna::InitVars();
  vna::testhook::Enable(true);  // a box (noisy data) is answered at once, not waited on
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const double line = vna::LineSeconds();
  std::printf("\nLine at 57600 baud per reading (%d bytes): %.2f ms\n", vna::kBytesPerPoint,
              line * 1e3);
  std::printf("  point display per reading: %8.1f us = %.3f %% of the line (goal: < 1 %%)\n",
              vna::cpu_per_reading * 1e6, 100 * vna::cpu_per_reading / line);
  const double scan_line = line * vna::kScanPoints;
  for (int f = 1; f <= 2; ++f) {
    std::printf("  filter %d on %d points: %8.1f ms = %.4f %% of their %.0f s on the line\n", f,
                vna::kScanPoints, vna::cpu_filter[f] * 1e3, 100 * vna::cpu_filter[f] / scan_line,
                scan_line);
  }
  return 0;
}
