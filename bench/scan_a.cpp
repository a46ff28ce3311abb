// A 2000-point Port A scan against the instrument simulator: the program's
// own time per point beside the time the serial line itself needs for a
// point at 57600 baud. The goal: the program adds under 2 % to the line.
//
// A point on the two-multiplier model puts the "E" command (20 bytes) and
// the 72-byte reply on the line, 10 bit times a byte: 15.97 ms at 57600
// baud. The program's own time is its processor time (commands, reply,
// sine fit, correction, smoothing, storing and drawing the point, the
// results and the auto-save), plus the 1 ms it waits every 11 points so the
// Halt button is heard. The pseudo-terminal delivers bytes at once, so the
// clock time per point shown beside them is the simulator's and the
// program's work together, without the line.
//
//   build/bench/bench_scan_a
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/measurement_reply.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/scan_a.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/program_link.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

constexpr int kPoints = 2000;
constexpr int kBytesPerPoint = 20 + kReplyBytes;

double LineSeconds(int baud) {
  return kBytesPerPoint * 10.0 / baud;
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// The program brought up against the simulator as start-up brings it up,
// with a Port A calibration measured from its short, open and load.
struct Bench {
  Bench() : folder(), program_dir("VNA_PROGRAM_DIR", folder.path()) {
    test::SimSettings settings;
    settings.args = {"--model", "uhf", "--dut", "series:r=30,l=2u,c=100p"};
    settings.log = false;  // the simulator's log is no work of the program
    sim = std::make_unique<test::SimRunner>(settings);
    InitVars();
    SetProgramVersion();
    DefineDialogs();
    min_freq = 0.005;
    MaxFreqUHF = maximumfreq = 1200;
    main_loop_on = 1;
    test::OpenLinkTo(*sim);
    GetVersion(1);
    InitFreqPlan();
    SelectOsc(1);
    two_osc = 2;
    raw_Z0 = 50;
    ResetInstrument();
    AverageADC(average);
    scan_format_A = 130;
    max_points = kPoints + 1;  // the list holds at most max_points - 1 points
    WinWidth = 1024;
    WinHeight = 700;
    OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu, "",
               MainWindowHandler);
    bg_color = ReadPixel(main_win, 2, 2);
    MeasureGraphLayout();
    Calibrate();
    start_freq = 1;
    delta_freq = 0.05;
    end_freq = 1 + (kPoints - 0.5) * delta_freq;
  }

  void Calibrate() {
    CalinProgress = 1;
    const char* standards[] = {"short", "open", "load"};
    const int n = 120;
    for (int s = 0; s < 3; ++s) {
      sim->SetDut(standards[s]);
      for (int i = 0; i < n; ++i) {
        freq = 1 + i;
        ReadPoint_A(0);
        CalPointA& p = CalDataA[i];
        p.freq = freq;
        (s == 0 ? p.shortR : s == 1 ? p.openR : p.stdR) = Rsm;
        (s == 0 ? p.shortX : s == 1 ? p.openX : p.stdX) = Xsm;
        p.multstate = 1000 * OSC + mult_code;
        p.gainA = gain_factor_A;
        p.osc = OSC;
      }
    }
    CalinProgress = 0;
    cal_points = n;
    MaxCalANdx = n - 1;
    Rstd = 50;
    PortA_cal = cal_valid = 1;
    cal_start_freq = 1;
    cal_end_freq = n;
    sim->SetDut("series:r=30,l=2u,c=100p");
  }

  testing::TempDir folder;
  testing::ScopedEnv program_dir;
  std::unique_ptr<test::SimRunner> sim;
};

Bench* bench = nullptr;
double cpu_per_point = 0, wall_per_point = 0, delay_1ms = 0;

void BM_ScanA2000(benchmark::State& state) {
  double cpu = 0, wall = 0;
  int points = 0;
  for (auto _ : state) {
    state.PauseTiming();
    start_freq = 1;
    end_freq = 1 + kPoints * 0.05;
    delta_freq = 0.05;
    DrawGraph();
    end_freq = 1 + (kPoints + 20) * 0.05;  // spur moves take a few steps; max_points cuts at 2000
    live_data = 1;
    state.ResumeTiming();
    const double c0 = ThreadCpuSeconds();
    const uint64_t t0 = TickMs64();
    Scan_A();
    wall += (TickMs64() - t0) * 1e-3;
    cpu += ThreadCpuSeconds() - c0;
    points += scan_npoints;
    if (vna_status != 0 || scan_npoints != kPoints) {
      const std::string why = "the scan did not measure every point: status " +
                              std::to_string(vna_status) + ", " + std::to_string(scan_npoints) +
                              " of " + std::to_string(Numscanpts) + " points";
      state.SkipWithError(why.c_str());
      return;
    }
  }
  cpu_per_point = cpu / points;
  wall_per_point = wall / points;
  state.counters["cpu_us_per_point"] = cpu_per_point * 1e6;
  state.counters["wall_us_per_point"] = wall_per_point * 1e6;
}

// The wait the scan makes every 11 points so Halt is heard.
void BM_HaltWindow(benchmark::State& state) {
  const uint64_t t0 = TickMs64();
  int n = 0;
  for (auto _ : state) {
    DelayMs(1);
    ++n;
  }
  delay_1ms = (TickMs64() - t0) * 1e-3 / n;
}

BENCHMARK(BM_ScanA2000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HaltWindow)->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  benchmark::Initialize(&argc, argv);
  vna::bench = new vna::Bench();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const double line = vna::LineSeconds(57600);
  const double own = vna::cpu_per_point + vna::delay_1ms / 11;
  std::printf("\nPer point of a %d-point Port A scan:\n", vna::kPoints);
  std::printf("  line at 57600 baud (%d bytes):      %9.1f us\n", vna::kBytesPerPoint, line * 1e6);
  std::printf("  program, processor time:           %9.1f us\n", vna::cpu_per_point * 1e6);
  std::printf("  program, Halt wait (1/11 of %.2f ms): %7.1f us\n", vna::delay_1ms * 1e3,
              vna::delay_1ms / 11 * 1e6);
  std::printf(
      "  program in all:                    %9.1f us = %.2f %% of the line (goal: < 2 %%)\n",
      own * 1e6, 100 * own / line);
  std::printf("  clock time against the simulator:  %9.1f us (simulator and program, no line)\n",
              vna::wall_per_point * 1e6);
  delete vna::bench;
  return 0;
}
