// A 2000-point Port B scan against the instrument simulator, without and
// with the Port A reference read at every point: the program's own time
// per point beside the time the serial line itself needs for the point's
// reads at 57600 baud. The goal: the program adds under 1 % to the line.
//
// A read on the two-multiplier model puts the "E" command (20 bytes) and the
// 72-byte reply on the line, 10 bit times a byte: 15.97 ms at 57600 baud; a
// point with the reference makes two reads. The program's own time is its
// processor time (commands, replies, sine fits, corrections, autoranging,
// group delay, storing and drawing the point, the auto-save). The
// pseudo-terminal delivers bytes at once, so the clock time shown beside
// them is the simulator's and the program's work together, without the line.
//
//   build/bench/bench_scan_b
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
#include "scan/scan_b.h"
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
constexpr int kBytesPerRead = 20 + kReplyBytes;

double LineSeconds(int reads, int baud) {
  return reads * kBytesPerRead * 10.0 / baud;
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// The program brought up against the simulator as start-up brings it up,
// with a Port A calibration (for the reference reads) and a Port B through
// calibration measured from the simulator.
struct Bench {
  Bench() : folder(), program_dir("VNA_PROGRAM_DIR", folder.path()) {
    test::SimSettings settings;
    settings.args = {"--model", "uhf", "--dut", "r=75", "--dut-b", "atten:db=20"};
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
    scan_format_B = 4080;
    max_points = kPoints + 1;
    WinWidth = 1024;
    WinHeight = 700;
    OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu, "",
               MainWindowHandler);
    bg_color = ReadPixel(main_win, 2, 2);
    MeasureGraphLayout();
    // Both relays on and Port B at gain step 1, low sensitivity, as the
    // calibrations measure: with the relays off the through reads no
    // reference and every point fails.
    relayA = relayB = 1;
    ProgRelay(3);
    PortB_Gain = PortB_Sens = 1;
    ProgGain();
    Calibrate();
    PortB_on = 1;
    transmission_mode = 1;
  }

  void Calibrate() {
    CalinProgress = 1;
    const char* standards[] = {"short", "open", "load"};
    const int n = 120;
    PortB_on = 0;
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
    sim->SetDutB("thru");
    PortB_on = 1;
    for (int i = 0; i < n; ++i) {
      freq = 1 + i;
      ReadPoint_B(0);
      CalPointB& p = CalDataB[i];
      p.freq = freq;
      p.ratio_low = p.ratio_high = MagLoad / MagRef;
      p.phase_low = p.phase_high = Delta_Phase;
      p.multstate = 1000 * OSC + mult_code;
      p.gainB = gain_factor_B;
      p.osc = OSC;
    }
    CalinProgress = 0;
    cal_points = n;
    MaxCalANdx = MaxCalBNdx = n - 1;
    Rstd = 50;
    PortA_cal = cal_valid = PortB_cal = 1;
    cal_start_freq = 1;
    cal_end_freq = n;
    sim->SetDut("r=75");
    sim->SetDutB("atten:db=20");
  }

  testing::TempDir folder;
  testing::ScopedEnv program_dir;
  std::unique_ptr<test::SimRunner> sim;
};

Bench* bench = nullptr;
double cpu_per_point[2] = {}, wall_per_point[2] = {};

// A 2000-point Port B scan; state.range(0) = 1 with the Port A reference
// read at every point (the S11 trace on).
void BM_ScanB2000(benchmark::State& state) {
  const int with_ref = static_cast<int>(state.range(0));
  double cpu = 0, wall = 0;
  int points = 0;
  for (auto _ : state) {
    state.PauseTiming();
    start_freq = 1;
    delta_freq = 0.05;
    end_freq = 1 + (kPoints - 0.5) * delta_freq;
    plot_s11 = with_ref;
    plot_swrB = 0;
    DrawGraph();
    live_data = 1;
    state.ResumeTiming();
    const double c0 = ThreadCpuSeconds();
    const uint64_t t0 = TickMs64();
    Scan_B();
    wall += (TickMs64() - t0) * 1e-3;
    cpu += ThreadCpuSeconds() - c0;
    points += scan_npoints;
    // The list may move or drop a few points off spurs; every point of it
    // must have been measured.
    if (vna_status != 0 || scan_npoints != Numscanpts || scan_npoints < kPoints - 10) {
      const std::string why = "the scan did not measure every point: status " +
                              std::to_string(vna_status) + ", " + std::to_string(scan_npoints) +
                              " of " + std::to_string(Numscanpts) + " points";
      state.SkipWithError(why.c_str());
      return;
    }
  }
  cpu_per_point[with_ref] = cpu / points;
  wall_per_point[with_ref] = wall / points;
  state.counters["cpu_us_per_point"] = cpu / points * 1e6;
  state.counters["wall_us_per_point"] = wall / points * 1e6;
}

BENCHMARK(BM_ScanB2000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  benchmark::Initialize(&argc, argv);
  vna::bench = new vna::Bench();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\nPer point of a %d-point Port B scan:\n", vna::kPoints);
  for (int ref = 0; ref < 2; ++ref) {
    const double line = vna::LineSeconds(1 + ref, 57600);
    const double own = vna::cpu_per_point[ref];
    std::printf("  %s the Port A reference:\n", ref ? "with" : "without");
    std::printf("    line at 57600 baud (%d reads):    %9.1f us\n", 1 + ref, line * 1e6);
    std::printf(
        "    program, processor time:         %9.1f us = %.2f %% of the line "
        "(goal: < 1 %%)\n",
        own * 1e6, 100 * own / line);
    std::printf("    clock time against the simulator: %9.1f us (no line)\n",
                vna::wall_per_point[ref] * 1e6);
  }
  delete vna::bench;
  return 0;
}
