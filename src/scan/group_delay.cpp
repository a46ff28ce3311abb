#include "scan/group_delay.h"

#include <cmath>
#include <cstdlib>

namespace vna {
namespace {

constexpr double kPi = 3.141592654;
constexpr double kTwoPi = 2 * kPi;

}  // namespace

double WrapPhase(double d) {
  if (!std::isfinite(d)) return 0;
  double r = std::remainder(d, kTwoPi);  // within [-pi, pi]
  if (r <= -kPi) r += kTwoPi;
  if (r > kPi) r -= kTwoPi;
  return r;
}

double DelayWindow(int setting, int n) {
  double d = std::abs(setting);
  if (setting < 0) d = d * n * 0.01;
  const double w = d * n / 200;
  return w < 1 ? 1 : w;
}

void GroupDelay::Start(double window) {
  window_ = window < 1 ? 1 : window;
  previous_ = 1000;
  average_ = 0;
  count_ = 1;
}

double GroupDelay::Step(double phase, double step_mhz) {
  if (!std::isfinite(phase)) phase = previous_ > 900 ? 0 : previous_;
  if (previous_ > 900) {
    average_ = phase;
    previous_ = phase;
    return 0;
  }
  const double d = WrapPhase(phase - previous_);
  const double k = count_ < window_ ? count_ : window_;
  average_ += (d - average_) / k;
  count_ += 1;
  previous_ = phase;
  if (step_mhz == 0) return 0;
  return -159.16 * average_ / step_mhz;
}

double MeanDelay(const double* phase, int n, double step_mhz) {
  if (n < 4 || step_mhz == 0) return 0;
  // The stored phases lie in (-pi, pi]: summed as they are, a wrap inside a
  // block would move its mean by 2 pi / block length. Each is taken as the
  // previous one plus the wrapped step.
  double s1 = 0, s2 = 0;
  double u = phase[n / 4];
  for (int i = n / 4; i < 3 * n / 4; ++i) {
    if (i > n / 4) u += WrapPhase(phase[i] - phase[i - 1]);
    (i < n / 2 ? s1 : s2) += u;
  }
  const double nn = static_cast<double>(n) * n;
  const double d = 16 * (s2 - s1) / (nn * step_mhz) / (2000000 * kPi);
  return std::isfinite(d) ? d : 0;
}

}  // namespace vna
