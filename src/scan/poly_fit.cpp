#include "scan/poly_fit.h"

#include <algorithm>
#include <cmath>

#include "scan/state.h"

namespace vna {

namespace {

constexpr int kMaxOrder = 7;
constexpr double kPivotFloor = 1e-7;

// x to an integer power; 0^0 is 1 and negative x keeps its sign in odd powers.
double Power(double x, int n) {
  double p = 1;
  for (int i = 0; i < n; ++i) p *= x;
  return p;
}

}  // namespace

void PolyFit() {
  int m = dsp_poly_order;
  if (m < 1) m = 1;
  if (m > kMaxOrder) m = kMaxOrder;
  const int k = m + 1;
  const int n = dsp_fit_points;
  double a[10][10] = {};
  double b[10] = {};
  // Sums of the powers 0..2m of x, and of y times the powers 0..m.
  double xs[2 * kMaxOrder + 1] = {};
  for (int i = 0; i < n; ++i) {
    double p = 1;
    for (int j = 0; j <= 2 * m; ++j) {
      xs[j] += p;
      if (j <= m) b[j] += y2_dat[i] * p;
      p *= x2_dat[i];
    }
  }
  for (int r = 0; r < k; ++r)
    for (int c = 0; c < k; ++c) a[r][c] = xs[r + c];
  a[0][0] = n;
  for (int p = 0; p < k; ++p) {
    for (int q = 0; q < k; ++q) {
      if (q == p) continue;
      if (std::fabs(a[p][p]) < kPivotFloor) a[p][p] = kPivotFloor;
      const double f = -a[q][p] / a[p][p];
      for (int j = 0; j < k; ++j) a[q][j] += f * a[p][j];
      a[q][p] = 0;
      b[q] += f * b[p];
    }
    const double d = a[p][p];
    for (int j = 0; j < k; ++j) a[p][j] /= d;
    a[p][p] = 1;
    b[p] /= d;
  }
  for (int j = 0; j <= m; ++j) dsp_poly_coef[j] = b[j];
}

void EvalPolyFit(int first, int last) {
  const int order = std::max(2, std::min(dsp_poly_order, kMaxOrder));
  for (int i = first; i <= last; ++i) {
    const double x = x_dat[i];
    double v = 0;
    for (int j = 0; j <= order; ++j) v += dsp_poly_coef[j] * Power(x, j);
    dsp_fit_curve[i] = v;
  }
}

double MaxFitDeviation(int first, int last) {
  double worst = 0;
  for (int i = first; i <= last; ++i) {
    if (y_dat[i] <= -4) continue;
    worst = std::max(worst, std::fabs(y_dat[i] - dsp_fit_curve[i]));
  }
  return worst;
}

}  // namespace vna
