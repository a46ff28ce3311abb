#include "tools/phase_crossing.h"

#include <algorithm>
#include <cmath>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/state.h"

namespace vna {

namespace {

constexpr int kMaxSteps = 150;
constexpr double kResolution = 0.00006;  // MHz: the refinement stops below this step

void ShowPoint(int i, int show_progress) {
  if (show_progress == 0) return;
  PlotDebugPoint(freq, Zphase, 1, 3, RedColor);
  Window& w = main_win;
  MoveTo(w, 10, 5);
  PrintText(w, NumStr(i) + "  " + NumStr(freq) + "  " + NumStr(Zphase * 57.296) + "            ");
}

}  // namespace

void PlotDebugPoint(double f, double phase, int shape, int size, int color) {
  if (DIAGMODE == 0) return;
  const int x =
      std::clamp(Rnd(graph_left + (f - graph_start) * px_per_MHz), graph_left, graph_right);
  const int y =
      std::clamp(Rnd(graph_zero_y - phase * 57.296 * phase_yscale), graph_top, graph_bottom);
  Window& w = main_win;
  SetPen(w, color, kPenSolid, 1);
  SetFill(w, true, color);
  if (shape == 1) {
    DrawCircle(w, x, y, size);
  } else {
    const int r = (size + 1) / 2;
    DrawRect(w, x - r, y - r, size, size);
  }
  SetFill(w, false);
}

void FindPhaseCrossing(double f_start, double f_max, double step, int show_progress) {
  const int saved_recycle = recycle_on;
  recycle_on = 1;
  const int saved_average = average;
  AverageADC(4);

  freq = f_start;
  MeasureAtFreq();
  // A failed reading ends the search with its own status: it is no point
  // on either side of a crossing.
  int s = ReadingFailed() ? vna_status : 0;
  double p_prev = Zphase, f_prev = freq;
  int i = 0;
  bool found = false;
  search_max_phase = 0;
  while (s == 0 && recycle_on > 0 && i < kMaxSteps && p_prev * Zphase > 0 && freq < f_max) {
    MeasureAtFreq();
    if (ReadingFailed()) {
      s = vna_status;
      break;
    }
    ShowPoint(i, show_progress);
    search_max_phase = std::max(search_max_phase, std::fabs(Zphase));
    if (p_prev * Zphase >= 0) {
      p_prev = Zphase;
      f_prev = freq;
      freq += step;
      step *= 1.5;
    } else {
      found = true;
    }
    ++i;
    PumpEvents();
  }
  if (s == 0 && (!found || i >= kMaxSteps)) s = kStatusNoCrossing;

  if (s == 0) {
    AverageADC(16);
    double p_cur = Zphase, f_cur = freq;
    double d = (freq - f_prev) / 2;
    while (s == 0 && recycle_on > 0 && i < kMaxSteps && d > kResolution) {
      // Back towards the previous point when the crossing lies between the
      // two, else on in the same direction.
      const bool between = p_cur * p_prev <= 0;
      const bool upward = f_cur > f_prev;
      const double delta = between == upward ? -d : d;
      f_prev = f_cur;
      p_prev = p_cur;
      freq += delta;
      MeasureAtFreq();
      if (ReadingFailed()) {
        s = vna_status;
        break;
      }
      ShowPoint(i, show_progress);
      f_cur = freq;
      p_cur = Zphase;
      d /= 2;
      PumpEvents();
    }
  }
  AverageADC(saved_average);
  if (recycle_on != 0) recycle_on = saved_recycle;
  vna_status = s;
}

}  // namespace vna
