// The TDR transform (spectrum completed, inverse transformed by a direct
// sum, summed into the step response) beside one frame of a 60 Hz display
// (16.7 ms): the window does not respond while it runs, so it should take no
// more than one frame. 256 and 512 points, with and without the window.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/tdr.h"

namespace vna {
namespace {

constexpr double kFrameMs = 1000.0 / 60;

// A cable with an edge a quarter of the way out and a little loss.
void Spectrum(int n, std::vector<double>& re, std::vector<double>& im) {
  re.assign(n / 2 + 1, 0);
  im.assign(n / 2 + 1, 0);
  for (int k = 0; k <= n / 2; ++k) {
    const double a = -2 * M_PI * k * (n / 4.0) / n;
    const double m = 0.33 * std::exp(-0.001 * k);
    re[k] = m * std::cos(a);
    im[k] = m * std::sin(a);
  }
}

void BM_TdrTransform(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const bool hamming = state.range(1) != 0;
  std::vector<double> re, im, response(2100, 0);
  Spectrum(n, re, im);
  for (auto _ : state) {
    TDRStepResponse(re.data(), im.data(), n, hamming, response.data());
    benchmark::DoNotOptimize(response.data());
  }
  // The step of 0.33 has arrived by three quarters of the way.
  if (std::fabs(response[3 * n / 8] - 0.33 * 0.994) > 0.05 && !hamming)
    state.SkipWithError("the step is not where the spectrum puts it");
}

BENCHMARK(BM_TdrTransform)
    ->Args({256, 0})
    ->Args({512, 0})
    ->Args({512, 1})
    ->Unit(benchmark::kMillisecond);

// The console report, then each transform as a share of one frame.
class FrameReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        ms_[run.benchmark_name()] = run.GetAdjustedRealTime();  // unit: ms
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nOne transform against a 60 Hz frame (%.1f ms):\n", kFrameMs);
    for (const auto& [name, ms] : ms_)
      std::printf("  %-28s %7.3f ms = %.3f frames\n", name.c_str(), ms, ms / kFrameMs);
  }

 private:
  std::map<std::string, double> ms_;
};

}  // namespace
}  // namespace vna

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  vna::FrameReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
