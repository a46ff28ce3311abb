// The program's own work per measured point (everything but waiting for the
// serial line) beside the time the line itself needs for that point.
//
// A point costs the frequency command plus the 72-byte reply on the wire:
// 20 + 72 bytes on the two-multiplier model ("E"), 10 + 72 on the single-DDS
// model ("U"), 10 bit times per byte. The goal: the program's share stays
// below 1 % of the line's time at 57600 and at 115000 baud.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/settings.h"
#include "instrument/frequency_programming.h"
#include "instrument/impedance.h"
#include "instrument/measurement_reply.h"
#include "instrument/serial_link.h"
#include "instrument/sine_fit.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/serial.h"
#include "shell/init_vars.h"
#include "shell/pending.h"
#include "shell/state.h"

namespace vna {
namespace {

constexpr int kUhfBytesPerPoint = 20 + kReplyBytes;
constexpr int kVhfBytesPerPoint = 10 + kReplyBytes;

double LineSeconds(int bytes, int baud) {
  return bytes * 10.0 / baud;
}

// A reply as the instrument sends it for 100 MHz on the two-multiplier
// model: load and reference sines around mid-scale, at averaging 16 (words
// of 16 x counts / 16), with its checksum.
void MakeReply() {
  InitVars();
  model_uhf = 1;
  model7306 = 0;
  DDS_Clk = 50;
  dds_mult1 = 14;
  dds_mult2 = 13;
  freq_offset1 = 0.0025;
  freq_comp = 1;
  adc_scale = 1;
  gain_factor_A = 1;
  PortB_on = 0;
  raw_Z0 = 50;
  freq = 100;
  const uint32_t word = 0x24924925u;
  for (int i = 0; i < 4; ++i) rx_buf[i] = (word >> (24 - 8 * i)) & 255;
  for (int k = 0; k < kReplyAdcWords; ++k) {
    const int i = k % 16;
    const double a = 2 * M_PI * i / 16;
    const double v =
        k < 16 || k == 32 ? 2037 + 300 * std::sin(a - 1.1) : 2055 + 500 * std::sin(a - 0.6);
    const int w = static_cast<int>(std::lround(16 * v));
    rx_buf[4 + 2 * k] = w / 256;
    rx_buf[5 + 2 * k] = w % 256;
  }
  SetReplyChecksum(rx_buf);
  raw_valid = 1;
}

// The two words and their text, as the "E" command carries them.
std::string CommandWords(double f) {
  bool out = false;
  const double x1 = FoldNyquist(f * freq_comp / (DDS_Clk * dds_mult1), out);
  const double x2 = FoldNyquist((f + freq_offset1) * freq_comp / (DDS_Clk * dds_mult2), out);
  return HexDigits(RatioWord(x1), 8) + HexDigits(RatioWord(std::abs(x2)), 8);
}

void BM_CommandWords(benchmark::State& state) {
  MakeReply();
  for (auto _ : state) benchmark::DoNotOptimize(CommandWords(freq));
}

void BM_Checksum(benchmark::State& state) {
  MakeReply();
  for (auto _ : state) benchmark::DoNotOptimize(ReplyChecksumOk(rx_buf));
}

void BM_Unpack(benchmark::State& state) {
  MakeReply();
  for (auto _ : state) {
    freq = 100;
    UnpackReply();
    benchmark::DoNotOptimize(ADCdata);
  }
}

void BM_SineFit(benchmark::State& state) {
  MakeReply();
  UnpackReply();
  for (auto _ : state) {
    AnaRawDat();
    benchmark::DoNotOptimize(Delta_Phase);
  }
}

void BM_Impedance(benchmark::State& state) {
  MakeReply();
  UnpackReply();
  AnaRawDat();
  for (auto _ : state) {
    RawImpedance();
    CalcRho(Rsm, Xsm);
    benchmark::DoNotOptimize(swr);
  }
}

// Everything the program does for one point besides the serial reads and writes.
void BM_PointWork(benchmark::State& state) {
  MakeReply();
  for (auto _ : state) {
    freq = 100;
    benchmark::DoNotOptimize(CommandWords(freq));
    benchmark::DoNotOptimize(ReplyChecksumOk(rx_buf));
    UnpackReply();
    AnaRawDat();
    RawImpedance();
    CalcRho(Rsm, Xsm);
    benchmark::DoNotOptimize(swr);
  }
  // Reference 500 and load 300 counts: |Z| = 50 x 500 / 300 ohms.
  if (std::abs(std::hypot(Rsm, Xsm) - 50 * 500.0 / 300) > 0.1) {
    state.SkipWithError("the point came out wrong");
  }
}

// The reads of the 72 reply bytes once they are waiting on the line: one
// read call per byte, as every reader takes them. The line itself is a
// pseudo-terminal whose other end the benchmark fills between iterations.
void BM_ReadReply(benchmark::State& state) {
  MakeReply();
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  hcom = SerialOpen(ptsname(master));
  SerialSetLine(hcom, kBaudLow);
  unsigned char bytes[kReplyBytes];
  for (int i = 0; i < kReplyBytes; ++i) bytes[i] = static_cast<unsigned char>(rx_buf[i]);
  for (auto _ : state) {
    state.PauseTiming();
    if (write(master, bytes, kReplyBytes) != kReplyBytes) state.SkipWithError("write failed");
    state.ResumeTiming();
    if (ReadReplyBytes(kReplyBytes, 500) != kReplyBytes) state.SkipWithError("bytes lost");
  }
  SerialClose(hcom);
  close(master);
}

BENCHMARK(BM_CommandWords)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Checksum)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Unpack)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_SineFit)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Impedance)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_PointWork)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_ReadReply)->Unit(benchmark::kNanosecond);

// The console report, and after the whole point's line its share of the
// line's time per point.
class ShareReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string& name = run.run_name.function_name;
      if (name == "BM_PointWork") work_ns_ = run.GetAdjustedRealTime();  // unit: ns
      // Processor time: the clock time also holds the pseudo-terminal's own
      // delivery of the bytes, which is waiting, not work.
      if (name == "BM_ReadReply") reads_ns_ = run.GetAdjustedCPUTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (work_ns_ <= 0) return;
    const double own_s = (work_ns_ + reads_ns_) * 1e-9;
    std::printf("\nOwn work per point: %.3f us computing + %.3f us (processor) reading the reply\n",
                work_ns_ * 1e-3, reads_ns_ * 1e-3);
    for (int baud : {kBaudLow, kBaudHigh}) {
      for (int bytes : {kUhfBytesPerPoint, kVhfBytesPerPoint}) {
        const double line_s = LineSeconds(bytes, baud);
        std::printf("  %6d baud, %2d bytes per point: line %7.3f ms, own work %8.3f us = %.3f %%\n",
                    baud, bytes, line_s * 1e3, own_s * 1e6, 100 * own_s / line_s);
      }
    }
  }

 private:
  double work_ns_ = 0, reads_ns_ = 0;
};

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  vna::PlatformInit(argc, argv);
  benchmark::Initialize(&argc, argv);
  std::printf("Line time per point (bytes x 10 / baud):\n");
  for (int baud : {vna::kBaudLow, vna::kBaudHigh}) {
    std::printf(
        "  %6d baud: two-multiplier model %d bytes %.3f ms; single-DDS model %d bytes %.3f ms\n",
        baud, vna::kUhfBytesPerPoint, 1e3 * vna::LineSeconds(vna::kUhfBytesPerPoint, baud),
        vna::kVhfBytesPerPoint, 1e3 * vna::LineSeconds(vna::kVhfBytesPerPoint, baud));
  }
  vna::ShareReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
