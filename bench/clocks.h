// The process's own clocks around the work a benchmark judges, so its
// counters leave out what the loop does between (reopening a window,
// rewriting a file).
#pragma once

#include <time.h>

#include <chrono>

namespace vna::bench {

inline double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// Processor and wall time summed over the calls to Time.
struct Clocks {
  double cpu = 0, wall = 0;
  template <typename F>
  void Time(F f) {
    const double c0 = ProcessCpuSeconds();
    const auto w0 = std::chrono::steady_clock::now();
    f();
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
    cpu += ProcessCpuSeconds() - c0;
  }
};

}  // namespace vna::bench
