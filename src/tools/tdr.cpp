#include "tools/tdr.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/clear_graph.h"
#include "graph/cursor_data.h"
#include "graph/state.h"
#include "graph/tdr_plot.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"
#include "tools/tdr_frame.h"

namespace vna {

Complex tdr_point_z, tdr_point_rho;

namespace {

constexpr int kTdrTable = 2100;     // entries of tdr_response and the spectrum
constexpr double kFirstFreq = 0.1;  // the sweep's point 0, MHz: 0 cannot be measured
constexpr double kLineZ0 = 50;      // impedance of the offset line, ohms
// The speed of light in feet per microsecond: a wave on a line of velocity
// factor VF covers VF times this.
constexpr double kLightFeetPerUs = 299.7924 * 39.37 / 12;

// Frequency step for the distance full scale, MHz: a longer distance needs a
// finer step.
double StepForDistance(double feet) {
  if (feet < 101) return 1.25;
  if (feet < 201) return 0.75;
  if (feet < 501) return 0.3;
  return 0.15;
}

double SweepTop(int n) {
  return TDRFreqStep(n) * (n / 2);
}

// The calibration must hold records from the first sweep point to the last:
// outside them the correction extrapolates or keeps stale values.
bool CalibrationCoversSweep(double top) {
  return cal_start_freq <= kFirstFreq + 1e-9 && cal_end_freq >= top - 1e-9;
}

void RefuseUncoveredSweep(double top) {
  SetDigits(3);
  MsgBox(&main_win,
         "Calibration is required.\rThe TDR sweep needs calibration data from 0.1 to" +
             NumStr(top) + " MHz.\rThe calibration in use covers" + NumStr(cal_start_freq) + " to" +
             NumStr(cal_end_freq) + " MHz.",
         " Cal Required", kMbOk, kIconExclamation, false);
}

void PrintPlanLine(int n) {
  Window& w = main_win;
  SetTextColor(w, Magenta);
  PrintText(w, " Numpts=" + NumStr(n) + " delf=" + NumStr(Tdr_delf) + " VF=" + NumStr(VF) +
                   " LengthOffset=" + NumStr(LengthOffset) + "  FeetPerNdx=" + NumStr(FeetPerNdx) +
                   " DXfactor=" + NumStr(DXfactor));
  SetTextColor(w, Black);
}

void PrintRate(int n, uint64_t elapsed_ms) {
  Window& w = main_win;
  const int e = static_cast<int>(std::max<uint64_t>(elapsed_ms, 1));
  const int rate = Rnd(n * 1000.0 / e + 0.5);
  SetTextColor(w, Magenta);
  MoveTo(w, graph_right, graph_bottom + 10);
  PrintItems(w, {rate, "pts/sec (", e, "msec)"});
  SetTextColor(w, Black);
}

}  // namespace

double TDRFreqStep(int n) {
  double step = StepForDistance(DXscale);
  if (step * n / 2 > maximumfreq) step = 2 * maximumfreq / n;
  return step;
}

double TDRFeetPerSample(double vf, double step_mhz, int n) {
  return kLightFeetPerUs / 2 * vf / (step_mhz * n);
}

double TDRFileFeetPerSample(double written, double vf, double step_mhz, int n) {
  constexpr double kOldRule = 512 / (kLightFeetPerUs / 2);
  const double now = TDRFeetPerSample(vf, step_mhz, n);
  if (!(now > 0) || !std::isfinite(now)) return written;
  return std::fabs(written / now / kOldRule - 1) < 0.002 ? written / kOldRule : written;
}

double SnapTDRDistance(double feet) {
  static const double kScales[] = {5, 10, 20, 50, 100, 200, 500, 1000, 2000};
  const int n = std::clamp(Rnd(std::fabs(feet)), 5, 2000);
  for (double s : kScales) {
    if (s >= n) return s;
  }
  return 2000;
}

double SnapTDRImpedance(double ohms) {
  static const double kScales[] = {70, 100, 200, 500, 1000};
  const int z = std::min(Rnd(std::fabs(ohms)), 1000);
  for (double s : kScales) {
    if (s >= z) return s;
  }
  return 1000;
}

void SetTDRPoints() {
  Numpts = tdr_high_res != 0 ? 512 : 256;
  Tdr_delf = TDRFreqStep(Numpts);
  if (DIAGMODE != 0 && Tdr_delf * Numpts / 2 > maximumfreq) {
    MsgBox(&main_win,
           "maximumfreq=" + NumStr(maximumfreq) + "  Tdr_delf=" + NumStr(Tdr_delf) +
               " Numpts=" + NumStr(Numpts),
           " 47332", kMbOk, kIconExclamation, false);
  }
  LengthOffset = 10;
  // The axis's own scale: a distance is drawn where its label stands.
  DXfactor = (graph_right - graph_left) / DXscale * tdr_dist_factor;
  FeetPerNdx = TDRFeetPerSample(VF, Tdr_delf, Numpts);
  const double h = graph_bottom - graph_top;
  tdr_zscale = tdr_zmax > 99 ? h / tdr_zmax : (h / 2) / (tdr_zmax - 50);
  tdr_rho_scale = (h / 2) / tdr_range_factor;
}

void TDRReflection() {
  const Complex zo{tdr_zo, 0};
  Complex num, den;
  CSub(num, tdr_point_z, zo);
  CAdd(den, tdr_point_z, zo);
  CDiv(tdr_point_rho, num, den);
}

int SweepTDR() {
  Window& w = main_win;
  SetPen(w, bg_color, kPenSolid, 2);
  DrawLine(w, graph_left, graph_top - 3, graph_right, graph_top - 3);
  double x = graph_left;
  const double dx = 2.0 * (graph_right - graph_left) / Numpts;
  const int a0 = average;
  // Feet per microsecond on the offset line.
  const double v = VF * kLightFeetPerUs;
  int measured = 0;
  for (int i = 0; i <= Numpts / 2; ++i) {
    freq = i == 0 ? kFirstFreq : Tdr_delf * i;
    MeasureAtFreq();
    if (i == 0) RestoreAveraging(a0);
    // A point that was not read leaves the values of the one before.
    if (vna_status != 0) break;
    const Complex z{Zmag_A * std::cos(phase_A), Zmag_A * std::sin(phase_A)};
    // The load behind LengthOffset feet of 50 ohm line, so its response
    // starts clear of sample 0: Z0 (z + j Z0 t) / (Z0 + j z t).
    const double t = std::tan(2 * pi * freq / v * LengthOffset);
    const Complex num{kLineZ0 * z.r, kLineZ0 * (z.i + kLineZ0 * t)};
    const Complex den{kLineZ0 - t * z.i, t * z.r};
    CDiv(tdr_point_z, num, den);
    TDRReflection();
    tdr_spec_re[i] = tdr_point_rho.r;
    tdr_spec_im[i] = tdr_point_rho.i;
    ++measured;
    SetPen(w, LightBlue, kPenSolid, 2);
    DrawLine(w, Rnd(x), graph_top - 3, std::min(Rnd(x + dx), graph_right), graph_top - 3);
    x += dx;
    PumpEvents();
    if (scan_running == 0) break;
  }
  return measured;
}

void TDRStepResponse(const double* re, const double* im, int n, bool hamming, double* response) {
  const int h = n / 2;
  std::vector<double> a(n), b(n);
  for (int k = 0; k <= h; ++k) {
    a[k] = re[k];
    b[k] = im[k];
  }
  for (int k = 1; k < h; ++k) {
    a[h + k] = a[h - k];
    b[h + k] = -b[h - k];
  }
  if (hamming) {
    for (int k = 0; k < n; ++k) {
      const double wk = 10 * (0.54 - 0.46 * std::cos(2 * pi * k / (n - 1)));
      a[k] *= wk;
      b[k] *= wk;
    }
  }
  // The angle 2 pi n k / N repeats with n k mod N: one table of N angles.
  std::vector<double> c(n), s(n);
  for (int m = 0; m < n; ++m) {
    c[m] = std::cos(2 * M_PI * m / n);
    s[m] = std::sin(2 * M_PI * m / n);
  }
  const double scale = 0.0019417 * 512 / n;
  double sum = 0;
  for (int t = 1; t < h; ++t) {
    double impulse = 0;
    int m = 0;
    for (int k = 0; k < n; ++k) {
      impulse += a[k] * c[m] - b[k] * s[m];
      m += t;
      if (m >= n) m -= n;
    }
    sum += impulse;
    response[t] = sum * scale;
  }
}

void SmoothTDR(double* r, int h, int mode) {
  if (mode == 0) {
    for (int m = 1; m <= h - 3; ++m) r[m] = (r[m] + r[m + 1]) / 2;
  } else {
    for (int k = 2; k <= h - 2; ++k) r[k] = (r[k - 1] + r[k] + r[k + 1]) / 3;
  }
}

void PlotStoredTDR() {
  if (tdr_trace_points < 4 || tdr_trace_points >= kTdrTable) return;
  Numpts = tdr_trace_points;
  FeetPerNdx = tdr_feet_per_index;
  PlotTDR();
  SetTDRPoints();
}

void RunTDR() {
  // One run at a time: a Scan pressed during the sweep must not start a
  // second run on the same arrays, which would also keep averaging 1 as the
  // user's averaging.
  if (scan_running != 0) return;
  if (vna_present == 0) {
    NeedsHardware();
    return;
  }
  if (cal_valid == 0) {
    MsgBox(&main_win, "Calibration is required.", " Cal Required", kMbOk, kIconExclamation, false);
    return;
  }
  const double top = SweepTop(tdr_high_res != 0 ? 512 : 256);
  if (!CalibrationCoversSweep(top)) {
    RefuseUncoveredSweep(top);
    return;
  }
  PortA_title.clear();
  if (cursordata_open != 0) CloseCursorData();
  const int saved_average = average;
  AverageADC(0);
  scan_running = 1;
  if (Numpts > 1025) {
    MsgBox(&main_win, "TDR number of points = " + NumStr(Numpts) + "  Max # of points is 1050.",
           " Too Many Points", kMbOk, kIconExclamation, false);
  }
  ProgRelay(3);
  SetTDRPoints();
  const int n = Numpts, h = n / 2;
  // The title belongs to the stored trace until a new one replaces it.
  const std::string kept_title = tdr_graph_title;
  tdr_graph_title.clear();
  if (tdr_show_params != 0) {
    ClearGraph();
    DrawTDR();
    tdr_show_params = 0;
  }
  MoveTo(main_win, 300, 10);
  if (DIAGMODE != 0) PrintPlanLine(n);
  const uint64_t t0 = TickMs64();
  const int measured = SweepTDR();
  if (measured == h + 1 && main_loop_on > 0) {
    tdr_trace_points = n;
    tdr_feet_per_index = FeetPerNdx;
    std::fill(tdr_response, tdr_response + kTdrTable, 0.0);
    TDRStepResponse(tdr_spec_re, tdr_spec_im, n, MyVar1 > 1, tdr_response);
    // A clear of the graph while the sweep let events through.
    if (tdr_show_params != 0) {
      DrawTDR();
      tdr_show_params = 0;
    }
    SetDigits(3);
    SmoothTDR(tdr_response, h, tdr_smoothing);
    // Stamped before the trace is drawn, so its auto-save carries this run's time.
    DrawDateStamp();
    PlotTDR();
    if (DIAGMODE != 0) PrintRate(n, TickMs64() - t0);
  } else {
    tdr_graph_title = kept_title;
  }
  ProgRelay(0);
  scan_running = 0;
  RestoreAveraging(saved_average);  // a failed point's status stays
  FocusMainWindow();
}

}  // namespace vna
