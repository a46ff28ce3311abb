// The program's own processor time per measured point, beside the time the
// serial line itself needs for that point.
//
// The real path: Send_Freq against the instrument simulator, which paces
// every byte at the line's speed (10 bit times per byte), so the reader meets
// the reply as it trickles in, gaps and all. A point costs the frequency
// command plus the 72-byte reply on the wire: 20 + 72 bytes on the
// two-multiplier model ("E"), 10 + 72 on the single-DDS model ("U").
//
// The goal: the program's processor time stays below 1 % of the line's time
// at 115000 baud. Run: build/bench/bench_measured_point
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/frequency_programming.h"
#include "instrument/measurement_reply.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/events.h"
#include "platform/serial.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "support/sim_runner.h"

namespace vna {
namespace {

constexpr int kCommandBytesUhf = 20, kCommandBytesVhf = 10;

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// The program brought up on the simulator as start-up does it: version query
// with model detection, frequency plan, oscillator 1, instrument defaults,
// averaging, both relays on; then, for 115000 baud, the speed switch.
bool BringUp(bool uhf, int baud, std::string& error) {
  InitVars();
  mult_code = mult_changed = new_mults = 0;
  dds_mult1 = dds_mult2 = 0;
  DIAGMODE = 0;
  min_freq = 0.005;
  MaxFreqUHF = 1200;
  maximumfreq = MaxFreqUHF;
  main_loop_on = 1;
  commport = 8;
  vna_present = 1;
  live_data = 1;
  highbaud = 0;
  baudrate = kBaudLow;
  OpenCommPort();
  GetVersion(1);
  if (comm_ok != 1) return error = "the simulator did not answer", false;
  InitFreqPlan();
  SelectOsc(1);
  if (uhf) {
    two_osc = 2;
  } else {
    osc_freq = 400;
    two_osc = 0;
    maximumfreq = 180;
  }
  raw_Z0 = 50;
  ResetInstrument();
  AverageADC(average);
  relayA = relayB = 1;
  ProgRelay(3);
  if (baud != kBaudLow) {
    highbaud = 1;
    CheckComm();
    if (comm_ok != 1 || baudrate != baud) return error = "no link at the high speed", false;
  }
  return true;
}

// Args: model (1 two-multiplier, 0 single-DDS), baud.
void BM_PointOnPacedLine(benchmark::State& state) {
  const bool uhf = state.range(0) == 1;
  const int baud = static_cast<int>(state.range(1));
  test::SimSettings settings;
  settings.args = {"--model", uhf ? "uhf" : "7306", "--pace", "--bridge", "ideal", "--dut",
                   "z=30,40"};
  settings.log = false;
  test::SimRunner sim(settings);
  setenv("VNA_PROGRAM_DIR", sim.Folder().c_str(), 1);  // version.txt
  std::string error;
  if (!BringUp(uhf, baud, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  // One frequency, so that no point changes multipliers or oscillator and
  // each costs exactly one command and one reply.
  freq = 14;
  Send_Freq(0);
  double cpu = 0;
  int points = 0, failed = 0;
  for (auto _ : state) {
    const double t0 = ProcessSeconds();
    freq = 14;
    Send_Freq(0);
    cpu += ProcessSeconds() - t0;
    ++points;
    failed += vna_status != 0 || std::abs(std::complex<double>(Rsm - 30, Xsm - 40)) > 0.5;
  }
  SerialClose(hcom);
  hcom = kInvalidPort;
  if (failed > 0) state.SkipWithError("points came out wrong");
  const int bytes = (uhf ? kCommandBytesUhf : kCommandBytesVhf) + kReplyBytes;
  const double link_us = bytes * 10.0 / baud * 1e6;
  const double cpu_us = points > 0 ? cpu / points * 1e6 : 0;
  state.counters["cpu_us"] = cpu_us;
  state.counters["link_us"] = link_us;
  state.counters["cpu_%_of_link"] = 100 * cpu_us / link_us;
  state.SetLabel(std::string(uhf ? "two-multiplier" : "single-DDS") + " model, " +
                 std::to_string(baud) + " baud");
}

// The floor beside it: nothing but one sleep for the line's time per point,
// the least any program waiting for the reply pays. On a virtual machine a
// single wake-up can cost more processor time than all the program's work.
// Args: bytes per point, baud.
void BM_WaitAlone(benchmark::State& state) {
  const auto line = std::chrono::microseconds(state.range(0) * 10'000'000L / state.range(1));
  double cpu = 0;
  int waits = 0;
  for (auto _ : state) {
    const double t0 = ProcessSeconds();
    std::this_thread::sleep_for(line);
    cpu += ProcessSeconds() - t0;
    ++waits;
  }
  const double link_us = std::chrono::duration<double, std::micro>(line).count();
  const double cpu_us = waits > 0 ? cpu / waits * 1e6 : 0;
  state.counters["cpu_us"] = cpu_us;
  state.counters["link_us"] = link_us;
  state.counters["cpu_%_of_link"] = 100 * cpu_us / link_us;
}

BENCHMARK(BM_WaitAlone)
    ->ArgNames({"bytes", "baud"})
    ->Args({kCommandBytesUhf + kReplyBytes, kBaudLow})
    ->Args({kCommandBytesUhf + kReplyBytes, kBaudHigh})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MinTime(2);

BENCHMARK(BM_PointOnPacedLine)
    ->ArgNames({"uhf", "baud"})
    ->Args({1, kBaudLow})
    ->Args({1, kBaudHigh})
    ->Args({0, kBaudLow})
    ->Args({0, kBaudHigh})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MinTime(3);

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  benchmark::Initialize(&argc, argv);
  std::printf(
      "Time is clock time per point; cpu_us the program's processor time per point, link_us\n"
      "the line's own time for the command and its reply (bytes x 10 / baud).\n");
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
