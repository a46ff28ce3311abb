// Soak of the instrument simulator: measured points over the pseudo-terminal,
// round and round a frequency sweep, with control commands in between. It
// reports the rate against the serial line's own limit, and what would show a
// leak or a drift in a long run: growth of the simulator's memory and open
// files, and how far any point moved from its first reading.
//
//   build/bench/bench_sim_soak                              a short run
//   build/bench/bench_sim_soak --benchmark_min_time=3600    the hour-long soak
#include <benchmark/benchmark.h>

#include <chrono>
#include <complex>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/sim_port.h"
#include "support/sim_protocol.h"
#include "support/sim_runner.h"

namespace vna::test {
namespace {

long ResidentKb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// Open files of the simulator once it has closed the control connections
// that have just ended.
long OpenFiles(pid_t pid) {
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::error_code ec;
  long n = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec);
       !ec && it != std::filesystem::directory_iterator(); ++it) {
    ++n;
  }
  return n;
}

struct Soak {
  explicit Soak(const char* model) {
    SimSettings settings;
    settings.args = {"--model", model, "--dut", "series:r=30,l=200n,c=20p", "--noise", "0"};
    settings.log = false;  // an hour of commands would fill the disk
    settings.set_env = false;
    sim = std::make_unique<SimRunner>(settings);
    port = std::make_unique<SimPort>(sim->Link());
    port->Write("V");
    version = ParseVersion(port->ReadUntil('@'));
    port->Write(std::string("K+") + "M03FF" + std::string("J\x10", 2));
    const double top = version.uhf ? 1200 : 180;
    for (int i = 0; i <= 100; ++i) sweep.push_back(0.5 + (top - 0.5) * i / 100);
    first.assign(sweep.size(), {});
    // Two sweeps first, so the baseline is taken once everything is warm.
    for (size_t i = 0; i < 2 * sweep.size(); ++i) port->Exchange(Command(i % sweep.size()), 72);
    sim->Control("status");
    rss0 = ResidentKb(sim->Pid());
    fds0 = OpenFiles(sim->Pid());
  }

  std::string Command(size_t i) {
    const double mhz = sweep[i];
    if (!version.uhf) return VhfCommand('U', mhz);
    int m1, m2;
    PlanMultipliers(mhz, m1, m2);
    const bool change = m1 != m1_ || m2 != m2_;
    m1_ = m1;
    m2_ = m2;
    return UhfCommand(mhz, m1, m2, change ? 5 : 1, 2, false, version.offset1, version.clk1);
  }

  std::unique_ptr<SimRunner> sim;
  std::unique_ptr<SimPort> port;
  VersionData version;
  std::vector<double> sweep;
  std::vector<std::complex<double>> first;
  long rss0 = 0, fds0 = 0;
  double drift = 0;
  long bad = 0;
  size_t next = 0;
  int m1_ = 0, m2_ = 0;
};

void PointRoundTrip(benchmark::State& state, const char* model) {
  static std::unique_ptr<Soak> uhf, vhf;
  std::unique_ptr<Soak>& soak = std::strcmp(model, "uhf") == 0 ? uhf : vhf;
  if (!soak) soak = std::make_unique<Soak>(model);
  Soak& s = *soak;
  size_t bytes_per_point = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const size_t i = s.next;
    s.next = (s.next + 1) % s.sweep.size();
    const std::string cmd = s.Command(i);
    bytes_per_point = cmd.size() + 72;
    const ReplyData r = ParseReply(s.port->Exchange(cmd, 72));
    if (!r.complete || r.checksum != r.sum) {
      ++s.bad;
      continue;
    }
    const std::complex<double> z = RawImpedance(r);
    if (s.first[i] == std::complex<double>()) {
      s.first[i] = z;
    } else {
      s.drift = std::max(s.drift, std::abs(z - s.first[i]) / std::abs(s.first[i]));
    }
    // Now and then the control channel, as a test swapping devices would.
    if (s.next == 0) s.sim->Control("status");
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double points_per_s = static_cast<double>(state.iterations()) / seconds;
  // The line's own limit: 10 bits per byte at 57600 baud.
  const double line_points_per_s = 57600.0 / 10 / static_cast<double>(bytes_per_point);
  state.counters["points_per_s"] = points_per_s;
  state.counters["x_line_limit"] = points_per_s / line_points_per_s;
  state.counters["bad_replies"] = static_cast<double>(s.bad);
  state.counters["drift_ppm"] = s.drift * 1e6;
  state.counters["rss_kB"] = static_cast<double>(ResidentKb(s.sim->Pid()));
  state.counters["rss_growth_kB"] = static_cast<double>(ResidentKb(s.sim->Pid()) - s.rss0);
  state.counters["fd_growth"] = static_cast<double>(OpenFiles(s.sim->Pid()) - s.fds0);
}

BENCHMARK_CAPTURE(PointRoundTrip, uhf, "uhf")->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(PointRoundTrip, model7306, "7306")->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace vna::test

BENCHMARK_MAIN();
