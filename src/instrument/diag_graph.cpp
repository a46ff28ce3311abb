#include "instrument/diag_graph.h"

#include <cmath>

#include "files/settings.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "scan/state.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr double kLevelFullScale = 30000;  // MagRef and MagLoad span the plot height
constexpr int kReadingsPerStep = 10;
constexpr int kLoopResetReadings = 1000;

// Oscillator 2 measures strictly inside these bands during the sweep, MHz.
constexpr struct {
  double lo, hi;
} kOsc2Bands[] = {{645, 655},   {695, 705},   {795, 805},   {820, 830},  {845, 855},  {870, 880},
                  {895, 905},   {920, 930},   {945, 955},   {972, 982},  {995, 1005}, {1020, 1028},
                  {1045, 1055}, {1070, 1080}, {1145, 1155}, {1190, 1205}};

int OscillatorFor(double f) {
  for (const auto& b : kOsc2Bands)
    if (f > b.lo && f < b.hi) return 2;
  return 1;
}

// The oscillator is chosen by hand here: SelectOsc acts only while two_osc
// is set, and two_osc stays 0 afterwards so the band rule of every point
// leaves the choice alone. The single-DDS model has one oscillator and no
// command for it. True when switched.
bool SwitchOsc(int n) {
  if (model7306 != 0) return false;
  two_osc = 1;
  SelectOsc(n);
  two_osc = 0;
  return true;
}

// A frequency close above a multiple of a quarter of the DDS clock lands on
// a spur: it is moved to 0.05 MHz above that multiple.
void AvoidSpur() {
  if (!(dds_clk4 > 0) || !std::isfinite(dds_clk4)) return;
  const double q = std::trunc(freq / dds_clk4);
  if (!(std::fabs(q) < 1e9)) return;
  const int n = static_cast<int>(q);
  const double v = freq - n * dds_clk4;
  if (!(std::fabs(v) < 0.05)) return;
  MoveTo(main_win, 100, graph_top + 20);
  PrintItems(main_win, {"freq0= ", freq, " v=", v, "  n= ", n});
  freq = n * dds_clk4 + 0.05;
  PrintItems(main_win, {"  FREQ= ", freq, "    //7213"});
}

// A coordinate that can become a pixel: finite, and within reach of any
// window (a reading without a reference or a graph without a span gives none).
bool Drawable(double v) {
  return std::isfinite(v) && std::fabs(v) < 1e6;
}

void Legend() {
  const struct {
    const char* text;
    int color, dy;
  } rows[] = {{"  MagRef    ", Green, 15},
              {"  MagLoad    ", RedColor, 30},
              {"  Ratio Load/Ref    ", Blue, 45}};
  for (const auto& r : rows) {
    SetTextColor(main_win, r.color);
    MoveTo(main_win, graph_left + 10, graph_top + r.dy);
    PrintItems(main_win, {r.text});
  }
  SetTextColor(main_win, Black);
}

// 30000 at the top down to 1500, one label per twentieth; the zero line has
// none.
void ScaleLabels() {
  const int step = Rnd((graph_bottom - graph_top) / 20.0);
  for (int k = 0; k < 20; ++k) {
    MoveTo(main_win, graph_right + 10, graph_top + step * k - 10);
    PrintItems(main_win, {"  ", 30000 - 1500 * k, "            "});
  }
}

void Segment(int color, int x0, int y0, int x1, int y1) {
  SetPen(main_win, color, kPenSolid, 2);
  DrawLine(main_win, x0, y0, x1, y1);
}

// A dot as wide as the 3-pixel pen.
void Mark(int x, int y, int color) {
  SetPen(main_win, color, kPenSolid, 3);
  FillRect(main_win, x - 1, y - 1, 3, 3, color);
}

struct PlotPoint {
  int x, y_ref, y_load, y_ratio;
};

}  // namespace

void DiagGraph() {
  relayA = 1;
  relayB = 0;
  PortA_Gain = 1;
  PortB_Gain = 1;
  PortB_on = 0;
  ProgGain();
  relayA = 1;
  relayB = 1;
  hw_reset_prompt = 1;
  ProgRelay(3);

  DrawGraph();  // chooses the frequency grid first

  scanloop = 0;
  double average = 0;
  freq = start_freq;
  scan_stop = graph_end;
  const double px_per_mhz = (graph_right - graph_left) / (graph_end - graph_start);
  const double yscale = (graph_bottom - graph_top) / kLevelFullScale;
  Legend();
  ScaleLabels();
  ResetLoopCounter();

  freq = start_freq;
  scan_running = 1;
  // The readings go into the Port A scan arrays, by step and not by point:
  // no Port A scan is held there any more, to save, replay or read.
  scana_ok = 0;
  scanA_npoints = 0;
  int readings = 0;
  int step = 1;
  const int two_osc_found = two_osc;
  SwitchOsc(2);
  int last_mult = 0, mult_changes = 0;
  ShowFreqPlan();
  const double origin = plot_at_zero != 0 ? 0 : start_freq;
  PlotPoint prev{};
  bool have_prev = false;

  while (scan_running == 1 && freq <= scan_stop) {
    ReadPoint_A(0);
    const double x = (freq - origin) * px_per_mhz + graph_left;
    const double y_ref = graph_bottom - MagRef * yscale;
    const double y_load = graph_bottom - MagLoad * yscale;
    const double ratio = MagLoad / MagRef;
    // A ratio that is not a number would stay in the average for good.
    const bool ratio_ok = std::isfinite(ratio);
    if (ratio_ok) average = mult_code == last_mult ? average + (ratio - average) / 10 : ratio;
    const double y_ratio = graph_zero_y - (average - ratio) * MyVar1;
    const bool drawn = Drawable(x) && Drawable(y_ref) && Drawable(y_load) && Drawable(y_ratio);
    const PlotPoint now{Rnd(x), Rnd(y_ref), Rnd(y_load), Rnd(y_ratio)};

    MoveTo(main_win, 150, graph_bottom + 5);
    PrintItems(main_win, {"DDSclk=", OSC, "  Magref=", MagRef, " ", "y = ", now.y_ref, " x=", now.x,
                          " freq=", freq, "  yscale=", yscale, "    ratio=", ratio, "          "});
    if (drawn) {
      if (!have_prev) prev = now;
      Segment(Green, prev.x, prev.y_ref, now.x, now.y_ref);
      Segment(RedColor, prev.x, prev.y_load, now.x, now.y_load);
      Segment(Blue, prev.x, prev.y_ratio, now.x, now.y_ratio);
      prev = now;
      have_prev = true;
    }

    ++scanloop;
    ++readings;
    if (readings % kReadingsPerStep == 0) {
      freq = start_freq + delta_freq * step;
      AvoidSpur();
      ++step;
      const int osc = OscillatorFor(freq);
      if (osc != OSC && SwitchOsc(osc) && ratio_ok) average = ratio;
    }
    if (step < kScanArraySize) {
      scanA_freq[step] = freq;
      scanA_swr[step] = swr;
      scanA_zmag[step] = Zmag;
      scanA_phase[step] = Zphase;
    } else {
      scan_running = 0;  // the scan arrays end here: the sweep ends as by Halt
    }
    PumpEvents();
    if (scanloop % kLoopResetReadings == 0) ResetLoopCounter();
    if (mult_code != last_mult) {
      last_mult = mult_code;
      ++mult_changes;
    }
    if (drawn) {
      Mark(now.x, graph_top - 3, mult_changes % 2 == 1 ? RedColor : Green);
      Mark(now.x, OSC == 1 ? graph_top + 2 : graph_top + 6, Blue);
    }
    SetPen(main_win, main_win.draw.pen_color, kPenSolid, 1);
  }

  relayA = 0;
  relayB = 0;
  ProgRelay(0);
  scan_running = 0;
  scanloop = 1;
  // Later scans keep the automatic oscillator choice.
  two_osc = two_osc_found;
}

void EnterMyVar(int n) {
  SetDigits(8);
  const struct {
    const char* prompt;
    double* value;
  } vars[] = {{"Enter myvar1", &MyVar1},
              {"Enter myvar2", &MyVar2},
              {"Enter myvar3", &MyVar3},
              {"Enter myvar4", &MyVar4}};
  if (n >= 1 && n <= 4) {
    msg_text = vars[n - 1].prompt;
    input_value = *vars[n - 1].value;
    InputNumber();
    *vars[n - 1].value = input_value;
  }
  SetDigits(3);
}

}  // namespace vna
