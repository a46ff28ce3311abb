#include "scan/noise_filters.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/poly_fit.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/stored_scan.h"

namespace vna {

const char* const kNoisyDataText =
    "The data is very noisy. Consider increasing the scan half-width.\r"
    "Analysis will continue with this data.";

namespace {

constexpr double kRejected = -5.0;
constexpr int kFewestPoints = 5;  // the deviation window needs five points

bool Rejected(double v) {
  return v < -4;
}

// The points the filters work on: those the stored Port A scan measured. The
// rest of a halted scan's list repeats its last reading and is no curve to fit.
int FilterPoints() {
  return StoredPointsA();
}

// The phase with its rejection marks: a copy, so that no mark is ever left
// in the scan itself.
std::vector<double> phase_work;

void NoisyDataBox() {
  MsgBox(&main_win, kNoisyDataText, "", kMbOk, kIconNone, true);
}

// Debug display: values[i] at point i as a small circle over the graph.
void PlotDspPoints(int first, int last, int y_offset, double y_scale, const double* values,
                   int color) {
  const int n = FilterPoints();
  dsp_plot_color = color;
  SetPen(main_win, dsp_plot_color);
  SetFill(main_win, false);
  for (int i = first; i <= last; ++i) {
    const int x = Rnd(graph_mid_x + x_dat[i] * (graph_right - graph_left) / n);
    const int y = Rnd(graph_zero_y - values[i] * y_scale + y_offset);
    DrawCircle(main_win, x, y, 2);
  }
}

// x[i] = i - N \ 2 for every point.
void CentredX() {
  const int n = FilterPoints();
  for (int i = 0; i < n; ++i) x_dat[i] = i - n / 2;
}

// The kept points of first..last packed into x2, y2.
void PackKept(int first, int last) {
  int k = 0;
  for (int i = first; i <= last; ++i) {
    if (Rejected(y_dat[i])) continue;
    x2_dat[k] = x_dat[i];
    y2_dat[k] = y_dat[i];
    ++k;
  }
  dsp_fit_points = k;
}

void FitKept(int first, int last) {
  PackKept(first, last);
  std::fill(dsp_poly_coef, dsp_poly_coef + 11, 0.0);
  PolyFit();
}

void Reject(int i) {
  y_dat[i] = kRejected;
  phase_work[i] = kRejected;
}

// Loads the curve, finds the outliers and marks them in y_dat and
// phase_work. Returns the threshold.
double MarkOutliers(int filter) {
  const int n = FilterPoints();
  dsp_poly_order = filter == 1 ? 6 : 4;
  phase_work.assign(readA_phase, readA_phase + n);
  CentredX();
  for (int i = 0; i < n; ++i) {
    y_dat[i] = readA_zmag[i];
    x2_dat[i] = x_dat[i];
    y2_dat[i] = y_dat[i];
  }
  dsp_fit_points = n;
  if (dsp_debug != 0) {
    PlotDspPoints(0, n - 1, 0, zmag_yscale, readA_zmag, Magenta);
    PlotDspPoints(0, n - 1, 0, phase_yscale * 57.296, readA_phase, Yellow);
  }
  LocalDeviations(n);
  std::copy(Devs, Devs + n, y2_dat);
  if (dsp_debug != 0) {
    std::vector<double> shown(n);
    for (int i = 0; i < n; ++i) shown[i] = 20 * Devs[i] + 25;
    PlotDspPoints(0, n - 1, 200, zmag_yscale, shown.data(), Blue);
  }
  ShellSortDevs(n);
  double t = filter == 1 ? Devs[(2 * n) / 3] : dspthreshold_factor * Devs[n / 4];
  if (t < dspthreshold) t = dspthreshold;
  if (dsp_debug != 0) {
    MsgBox(&main_win,
           "threshold=" + NumStr(t) + "  devs[]=" + NumStr(Devs[n / 4]) + "  dspthreshold_factor=" +
               NumStr(dspthreshold_factor) + " dspthreshold=" + NumStr(dspthreshold),
           "", kMbOk, kIconNone, true);
  }
  for (int i = 1; i < n; ++i) {
    if (y2_dat[i] > t) {
      Reject(i);
      Reject(i - 1);
    }
  }
  // Close the gaps of fewer than m kept points between two rejections.
  const int m = Rnd(0.075 * n);
  for (int i = 1; i <= n - m - 1; ++i) {
    if (!Rejected(y_dat[i])) continue;
    for (int j = i + 1; j <= i + m; ++j) {
      if (Rejected(y_dat[j])) {
        Reject(i + 1);
        break;
      }
    }
  }
  if (dsp_debug != 0) PlotDspPoints(0, n - 1, 0, zmag_yscale, y_dat, Black);
  return t;
}

// The phase with its marks becomes the curve of the next fit.
void LoadPhase() {
  CentredX();
  std::copy(phase_work.begin(), phase_work.end(), y_dat);
}

// Replaces target[0..N-1] piece by piece with fits of y_dat.
void PiecewiseFit(double* target, int order, double tolerance, int back_step, int reach,
                  bool warn_noisy) {
  const int n = FilterPoints();
  dsp_poly_order = order;
  int start = 0, end = n - 1, piece = 1, try_step = 1;
  while (piece < 50 && start < n - 20) {
    double deviation = 10000;
    int tries = 0;
    while (tries < 6 && deviation > tolerance) {
      while (end > start + 8 && Rejected(y_dat[end])) --end;
      while (Rejected(y_dat[end]) && end < n - 1) ++end;
      PackKept(start, end);
      if (warn_noisy && piece == 1 && tries == 0 && dsp_fit_points < n / 2) NoisyDataBox();
      std::fill(dsp_poly_coef, dsp_poly_coef + 11, 0.0);
      PolyFit();
      tries += try_step;
      if (try_step > 1) try_step = 1;
      EvalPolyFit(start, end);
      deviation = MaxFitDeviation(start, end);
      if (deviation > tolerance) {
        end = (start + end) / 2;
        if (end - start < 8) end = start + 8;
      }
    }
    std::copy(dsp_fit_curve + start, dsp_fit_curve + end + 1, target + start);
    if (end >= n - 1) break;
    start = end + 1;
    if (!Rejected(y_dat[start])) {
      end = n - 1;
      try_step = 1;
    } else {
      // A single fit bridges the rejected stretch from a little before it.
      end = start;
      start = std::max(0, start - 1 - back_step);
      while (Rejected(y_dat[end]) && end < n - 1) ++end;
      end = std::min(n - 1, end + reach);
      try_step = 100;
    }
    ++piece;
  }
}

}  // namespace

void LocalDeviations(int n) {
  const double* y = y_dat;
  for (int i : {0, 1, n - 2, n - 1})
    if (i >= 0 && i < n) Devs[i] = 0;
  for (int i = 2; i <= n - 3; ++i) {
    const double a = (y[i - 2] + y[i - 1]) / 2;
    const double b = (y[i + 1] + y[i + 2]) / 2;
    const double s = (b - a) / 3;
    const double v = a + 1.5 * s;
    double sum = 0;
    for (int k = -2; k <= 2; ++k) sum += std::fabs(y[i + k] - (v + k * s));
    // A line through 0 has no relative deviation to give.
    Devs[i] = v == 0 ? 0 : std::fabs(sum) / std::fabs(v);
  }
}

void ShellSortDevs(int n) {
  int h = 1;
  while (3 * h + 1 < n) h = 3 * h + 1;
  for (; h > 0; h /= 3) {
    for (int i = h - 1; i < n; ++i) {
      const float v = static_cast<float>(Devs[i]);
      int j = i;
      while (j >= h && Devs[j - h] > v) {
        Devs[j] = Devs[j - h];
        j -= h;
      }
      Devs[j] = v;
    }
  }
}

void DspFilterFlag() {
  const int n = FilterPoints();
  if (n < kFewestPoints) return;
  MarkOutliers(1);
  PackKept(0, n - 1);
  if (dsp_fit_points < n / 2) NoisyDataBox();
  std::fill(dsp_poly_coef, dsp_poly_coef + 11, 0.0);
  PolyFit();
  EvalPolyFit(0, n - 1);
  std::copy(dsp_fit_curve, dsp_fit_curve + n, readA_zmag);
  dsp_poly_order = 7;
  LoadPhase();
  FitKept(0, n - 1);
  EvalPolyFit(0, n - 1);
  std::copy(dsp_fit_curve, dsp_fit_curve + n, readA_phase);
}

void DspFilterFit() {
  const int n = FilterPoints();
  if (n < kFewestPoints) return;
  const double t = MarkOutliers(2);
  PiecewiseFit(readA_zmag, 4, 25 * t, 10, 9, true);
  LoadPhase();
  PiecewiseFit(readA_phase, 5, 5 / 57.296, 5, 4, false);
}

void RescanCenter() {
  msg_text = "Enter Center Freq (0=Don't rescan)";
  input_value = rescan_center;
  InputNumber();
  if (dlg_result != 1) return;
  const double typed = dlg_text1.empty() ? 0 : std::fabs(input_value) * input_scale;
  if (typed >= 0.1) {
    // A live rescan around the typed centre, its half-width asked next.
    msg_text = "Scan Half-Width";
    input_value = rescan_halfwidth;
    InputNumber();
    if (dlg_result != 1) return;
    rescan_center = typed;
    if (!dlg_text1.empty()) {
      double w = std::fabs(input_value) * input_scale;
      if (rescan_center > 10) {
        w = std::min(w, 0.01 * rescan_center);
      } else {
        w = std::clamp(w, 0.02, 0.1);
      }
      rescan_halfwidth = w;
    }
  } else {
    rescan_center = (start_freq + end_freq) * 0.5;
    rescan_halfwidth = rescan_center - start_freq;
  }
  start_freq = rescan_center - rescan_halfwidth;
  if (start_freq < 0.1) start_freq = 0.1;
  if (start_freq > maximumfreq - 1) start_freq = maximumfreq - 1;
  end_freq = start_freq + 2 * rescan_halfwidth;
  if (end_freq > maximumfreq) end_freq = maximumfreq;
  if (typed >= 0.1) {
    delta_freq = 0.001;
    FreqGrid();
    DrawGraph();
    scanloop = 0;
    live_data = 1;
    if (PortB_on != 0) {
      Scan_B();
    } else {
      Scan_A();
    }
    // A failed rescan has said so once; its status stays, and there is no
    // new scan to clean. Nor after one halted before its first reading: the
    // stored scan it kept is the earlier limits' measurement, not the rescan.
    if (vna_status != 0 || scan_npoints == 0) return;
  }
  if (PortB_on != 0) {
    // The Port B scan is drawn from arrays the filters do not touch.
    MsgBox(&main_win, "The noise filters work on Port A scans.", " DSP Filter", kMbOk, kIconNone,
           true);
  } else if (dsp_filter == 1) {
    DspFilterFlag();
  } else if (dsp_filter == 2) {
    DspFilterFit();
  }
  scan_recalled = 1;
  live_data = 0;
  const int width = trace_width;
  trace_width = width + 2;
  if (PortB_on != 0) {
    Scan_B();
  } else {
    Scan_A();
  }
  trace_width = width;
  SetPen(main_win, Black, kPenSolid, trace_width);
  live_data = 1;
}

}  // namespace vna
