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
    previous_ = phase;
    return 0;
  }
  const double d = WrapPhase(phase - previous_);
  previous_ = phase;
  if (!(std::isfinite(step_mhz) && step_mhz != 0)) return 0;
  const double k = count_ < window_ ? count_ : window_;
  average_ += (d / step_mhz - average_) / k;
  count_ += 1;
  return -159.16 * average_;
}

double MeanDelay(const double* phase, const double* freq, int n) {
  if (n < 4) return 0;
  // The stored phases lie in (-pi, pi]: summed as they are, a wrap inside a
  // quarter would move its mean by 2 pi / its length. Each is taken as the
  // previous one plus the wrapped step. The two quarters may differ by one
  // point and the list may have moved a point off a spur, so their means are
  // compared at their own mean frequencies.
  const int a = n / 4, b = n / 2, c = 3 * n / 4;
  double p1 = 0, p2 = 0, f1 = 0, f2 = 0;
  double u = phase[a];
  for (int i = a; i < c; ++i) {
    if (i > a) u += WrapPhase(phase[i] - phase[i - 1]);
    if (i < b) {
      p1 += u;
      f1 += freq[i];
    } else {
      p2 += u;
      f2 += freq[i];
    }
  }
  p1 /= b - a;
  f1 /= b - a;
  p2 /= c - b;
  f2 /= c - b;
  if (f2 == f1) return 0;
  const double d = (p2 - p1) / (f2 - f1) / (2000000 * kPi);
  return std::isfinite(d) ? d : 0;
}

}  // namespace vna
