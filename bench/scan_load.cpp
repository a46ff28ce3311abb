// Loading a stored scan of 30000 points and drawing it, as the Load
// commands do: the program's own reader fills the scan arrays from the file
// and the graph is drawn by replaying them (Port A: a ".scn" file through
// Scan_A; Port B: a ".scnb" file through Scan_B). The files are written
// first by the program's own writers. The goal: under 50 ms each.
//
// The automatic file names are used (save_mode 1, the name the exit save
// writes and start-up loads), so no file dialog is timed; the reading and
// the drawing after it are those of the user's Load command.
//
// Counters, from the process's own clocks around the load alone:
//   cpu_ms, wall_ms   the time of one load with its drawing
//   goal              processor time / 50 ms (below 1 meets the goal)
//   wall_goal         wall time / 50 ms
//
//   build/bench/bench_scan_load
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include "clocks.h"

#include "calibration/state.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "instrument/freq_plan.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/series_rlc_scan.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

constexpr int kPoints = 30000;
constexpr double kGoalSeconds = 0.050;

double Mhz(int i) {
  return 1 + 29.0 * i / (kPoints - 1);
}

// The program as start-up leaves it without an instrument, its main window
// open, its folder a temporary one.
struct Program {
  Program() : program_dir("VNA_PROGRAM_DIR", folder.path()) {
    testhook::ClearLogs();
    InitVars();
    InitFreqPlan();
    maximumfreq = MaxFreqUHF = 1200;  // start-up's fixed values
    min_freq = 0.005;
    scan_format_A = 130;
    scan_format_B = 4080;
    cal_start_freq = 0.1;
    cal_end_freq = 1200;
    max_points = kPoints;
    PortA_cal = PortB_cal = cal_valid = 1;
    WinWidth = 1024;
    WinHeight = 700;
    OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu, "",
               MainWindowHandler);
    bg_color = ReadPixel(main_win, 2, 2);
    MeasureGraphLayout();
    start_freq = 1;
    end_freq = 30;
    delta_freq = 29.0 / (kPoints - 1);
  }
  ~Program() { CloseWindow(main_win); }

  testing::TempDir folder;
  testing::ScopedEnv program_dir;
};

// The stored series R-L-C scan, saved as the Port A file.
void WritePortAFile() {
  test::StoreSeriesRlcScanA(kPoints);
  save_mode = 1;
  SaveScanA();
}

// A band-pass filter around 14 MHz, saved as the Port B file.
void WritePortBFile() {
  for (int i = 0; i <= kPoints; ++i) {
    const double d = (Mhz(i) - 14) / 2;
    scanB_freq[i] = Mhz(i);
    s21_dB[i] = -10 * std::log10(1 + std::pow(d, 6));
    scanB_phase[i] = std::remainder(-3 * std::atan(d) * 57.296, 360);
    scanB_s11rl[i] = -20 + 15 * std::tanh(d * d);
    scanB_s11phase[i] = std::atan(d);
  }
  scanB_npoints = Numscanpts = kPoints;
  scanb_ok = 1;
  save_mode = 1;
  SaveScanB();
}

template <typename Load>
void RunLoads(benchmark::State& state, Load load) {
  bench::Clocks clocks;
  for (auto _ : state) {
    clocks.Time(load);
    if (vna_status != 0) state.SkipWithError("the load failed");
  }
  // A box would have waited for a person: the file was not the one meant.
  if (!testhook::MsgBoxes().empty()) {
    state.SkipWithError(("a box: " + testhook::MsgBoxes().front().caption + ": " +
                         testhook::MsgBoxes().front().text)
                            .c_str());
  }
  using benchmark::Counter;
  const double n = static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = Counter(clocks.cpu * 1000 / n);
  state.counters["wall_ms"] = Counter(clocks.wall * 1000 / n);
  state.counters["goal"] = Counter(clocks.cpu / kGoalSeconds / n);
  state.counters["wall_goal"] = Counter(clocks.wall / kGoalSeconds / n);
}

void BM_LoadScanA(benchmark::State& state) {
  const Program program;
  PortB_on = 0;
  plot_swrA = plot_rt = plot_zmagA = plot_rsA = plot_ZphaseA = 1;
  WritePortAFile();
  RunLoads(state, [] {
    save_mode = 1;
    LoadScanA();
  });
  if (scanA_npoints != kPoints) state.SkipWithError("not every point was loaded");
}
BENCHMARK(BM_LoadScanA)->Unit(benchmark::kMillisecond);

void BM_LoadScanB(benchmark::State& state) {
  const Program program;
  PortB_on = 1;
  plots21 = plot_phaseS21 = plot_s11 = 1;
  WritePortBFile();
  RunLoads(state, [] {
    save_mode = 1;
    LoadScanB();
  });
  if (scanB_npoints != kPoints) state.SkipWithError("not every point was loaded");
  PortB_on = 0;
}
BENCHMARK(BM_LoadScanB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  // No box may wait for a person: one that shows is answered and noted.
  vna::testhook::Enable(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
