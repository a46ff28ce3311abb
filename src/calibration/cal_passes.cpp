#include "calibration/cal_passes.h"

#include <cmath>
#include <limits>

#include "calibration/cal_port_a.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/freq_plan.h"
#include "instrument/frequency_programming.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "scan/freq_list.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"

namespace vna {

namespace {

// The raw reading of the standard exactly as a reading is later corrected
// with it: the raw impedance of the point (50 x MagRef / MagLoad at the
// load's phase against the reference). A ratio biased by one count in its
// divisor would put the weak open standard a few percent off and every load
// far from 50 ohms with it.
void Reflection(double& r, double& x) {
  r = Rsm;
  x = Xsm;
}

// Diagnostic mode: a dot of radius 2 at freq for an ADC level (0..30000).
void Dot(double level, int color, bool filled) {
  const double scale = (graph_bottom - graph_top) / 30000.0;
  const int x = Rnd(graph_left + (freq - graph_start) * px_per_MHz);
  int y = Rnd(graph_bottom - scale * level);
  if (y < graph_top) y = graph_top;
  if (y > graph_bottom) y = graph_bottom;
  SetPen(main_win, color);
  SetFill(main_win, filled, color);
  DrawCircle(main_win, x, y, 2);
  SetFill(main_win, false);
}

// Diagnostic mode: the reference and load levels of the reading.
void Dots(int ref_color, int load_color, bool filled) {
  if (DIAGMODE == 0) return;
  Dot(MagRef * gain_factor_A, ref_color, filled);
  Dot(MagLoad * gain_factor_A, load_color, filled);
}

// The progress line every tenth point: the frequency (or the points left)
// and the reading.
void Progress(const TextItem& first, double r, double x) {
  MoveTo(main_win, graph_left + 10, line0_y);
  PrintItems(main_win, {"  ", first, "   ", r, "   ", x, "               "});
}

PassEnd AfterPoint() {
  PumpEvents();  // Halt clears scan_running
  return scan_running == 0 ? PassEnd::kHalted : PassEnd::kDone;
}

}  // namespace

bool CalReading() {
  ReadPoint_A(0);
  // The link skips its own reference test during a calibration; a standard
  // read without a reference is no record of it at any frequency.
  return !ReadingFailed();
}

PassEnd ShortPass() {
  scan_running = 1;
  freq = cal_start_freq;
  if (std_cal != 0) {
    delta_freq = 0.002;
    freq = 0.005;
  }
  int i = 0, overrun = 0;
  // A multiplier change must be at least two points after the last one.
  int since_change = 111, state_before = 0;
  while (overrun < 4 && scan_running > 0 && i < kMaxCalPoints) {
    if (std_cal != 0) StdCalPoint(i, freq, delta_freq);
    // The spurs of oscillator 1 are the ones avoided, whichever is in use.
    const double clk4 = dds_clk4;
    dds_clk4 = ddsclk1 / 4;
    NextFreq();
    dds_clk4 = clk4;
    // The instrument is programmed no higher than its maximum frequency: the
    // pass ends with a point there, rather than store readings taken at the
    // maximum under the frequencies beyond it that the plan goes on to.
    const double top = ProgrammableFreq(std::numeric_limits<double>::infinity());
    const bool at_top = freq >= top;
    if (at_top) freq = top;
    if (!CalReading()) return PassEnd::kNoData;
    CalPointA& p = CalDataA[i];
    p.freq = freq;
    Reflection(p.shortR, p.shortX);
    p.multstate = OSC * 1000 + dds_mult1 * 32 + dds_mult2;
    if (i > 0 && p.multstate != state_before) {
      if (since_change < 2) return PassEnd::kStepSize;
      since_change = 0;
      state_before = p.multstate;
    }
    ++since_change;
    p.gainA = gain_factor_A;
    p.osc = OSC;
    Dots(RedColor, Green, true);
    if (i % 10 == 0) Progress(Rnd(freq), p.shortR, p.shortX);
    if (AfterPoint() == PassEnd::kHalted) return PassEnd::kHalted;
    ++i;
    if (at_top) break;
    freq = NextCalFreq(freq, delta_freq, cal_end_freq);
    if (freq > cal_end_freq) ++overrun;
  }
  cal_points = i;
  cal_start_freq = CalDataA[0].freq;
  cal_end_freq = CalDataA[i - 1].freq;
  MaxCalANdx = i - 1;
  return PassEnd::kDone;
}

PassEnd StandardPass(int which) {
  for (int i = 0; i < cal_points && scan_running > 0; ++i) {
    CalPointA& p = CalDataA[i];
    freq = p.freq;
    if (!CalReading()) return PassEnd::kNoData;
    double& r = which == 1 ? p.openR : p.stdR;
    double& x = which == 1 ? p.openX : p.stdX;
    Reflection(r, x);
    if (which == 1) {
      Dots(Blue, Magenta, true);
    } else {
      Dots(Yellow, Black, false);
    }
    if (i % 10 == 0) Progress(cal_points - i - 2, r, x);
    if (AfterPoint() == PassEnd::kHalted) return PassEnd::kHalted;
  }
  return scan_running == 0 ? PassEnd::kHalted : PassEnd::kDone;
}

void DiagnosticFrame() {
  plot_at_zero = start_freq <= end_freq * 25 / 100 ? 1 : 0;
  FreqGrid();
  DrawGraph();
  SetPen(main_win, Black);
  SetTextColor(main_win, Black);
  for (int k = 0; k <= 20; ++k) {
    MoveTo(main_win, graph_left - 20,
           Rnd(graph_bottom - k * (graph_bottom - graph_top) / 20.0 - 10));
    PrintItems(main_win, {k * 30000 / 20});
  }
  ShowFreqPlan();
}

}  // namespace vna
