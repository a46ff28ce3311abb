#include "tools/bandwidth.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

void ClearHeldKeys() {
  lbutton_down = ctrl_key_down = shift_key_down = 0;
}

// y pixel of an S21 level (dB) on the main graph.
int LevelY(double level) {
  return Rnd(graph_top + Zero_Ref * grid_units_per_div - level * s21mag_yscale);
}

void MarkEdges(double lo, double hi, double level, int colour) {
  SetPen(main_win, colour);
  SetFill(main_win, false);
  DrawCircle(main_win, GraphX(lo), LevelY(level), 4);
  DrawCircle(main_win, GraphX(hi), LevelY(level), 4);
}

// Where the S21 trace crosses `level` between Port B points a and b.
double CrossingB(int a, int b, double level) {
  return LevelCrossing(scanB_freq[a], s21_dB[a], scanB_freq[b], s21_dB[b], level);
}

void NoBandLimits(int status) {
  MsgBox(&main_win, "Cursor is not positioned inside the response curve.", " No band limits found",
         kMbOk, kIconNone, false);
  vna_status = status;
}

bool Walking() {
  return scan_running > 0 && main_loop_on != 0;
}

}  // namespace

void FindBandLimit(double level, double& f_low, double& f_high) {
  vna_status = 0;
  const int n = MeasuredPointsB();
  const int s = band_start_index;
  if (s < 0 || s >= n) {
    NoBandLimits(s < 0 ? 1 : 2);
    return;
  }
  // Above the level: a passband, walked out while the trace stays above.
  // At or below it: a notch, walked out while it stays below.
  const bool passband = s21_dB[s] > level;
  auto inside = [&](int k) { return passband ? s21_dB[k] > level : s21_dB[k] < level; };

  int i = s;
  while (i > 0 && inside(i)) --i;
  if (inside(i)) {
    NoBandLimits(passband ? 1 : 3);
    return;
  }
  // A start point exactly at the level is its own crossing.
  const double low = i == s ? scanB_freq[s] : CrossingB(i, i + 1, level);

  i = s;
  while (i < n && inside(i)) ++i;
  if (i >= n) {
    NoBandLimits(passband ? 2 : 4);
    return;
  }
  f_low = low;
  f_high = i == s ? scanB_freq[s] : CrossingB(i - 1, i, level);
}

void Bandwidth() {
  if (PortB_on != 1) return;
  vna_status = 0;
  bool valid1 = false, valid2 = false;
  double lo1 = 0, hi1 = 0, lo2 = 0, hi2 = 0;
  band_start_index = cursor_index;
  if (ruler1_on != 0) {
    FindBandLimit(ruler_1, lo1, hi1);
    valid1 = vna_status == 0;
  }
  if (vna_status == 0 && ruler2_on != 0) {
    FindBandLimit(ruler_2, lo2, hi2);
    valid2 = vna_status == 0;
  }
  if (valid1) MarkEdges(lo1, hi1, ruler_1, RedColor);
  if (valid2) MarkEdges(lo2, hi2, ruler_2, Blue);

  double bw1 = std::fabs(hi1 - lo1), bw2 = std::fabs(hi2 - lo2);
  // kHz only when exactly one of the two widths is below 1 MHz.
  const bool khz = (valid1 && bw1 < 1) != (valid2 && bw2 < 1);
  const std::string unit = khz ? " KHz" : " MHz";
  const double factor = khz ? 1000 : 1;
  SetDigits(khz ? 6 : 3);
  std::string text;
  if (valid1) {
    bw1 *= factor;
    text += "Bandwidth at ruler 1 (" + NumStr(ruler_1) + "dB)= (" + NumStr(hi1) + " - " +
            NumStr(lo1) + ") = " + NumStr(bw1) + unit + "\r";
  }
  if (valid2) {
    bw2 *= factor;
    text += "Bandwidth at ruler 2 (" + NumStr(ruler_2) + "dB)= (" + NumStr(hi2) + " - " +
            NumStr(lo2) + ") = " + NumStr(bw2) + unit + "\r";
  }
  if (valid1 && valid2 && bw1 > 0 && bw2 > 0) {
    const double shape = bw2 / bw1 < 1 ? bw1 / bw2 : bw2 / bw1;
    text += "Shape factor = " + NumStr(shape);
  }
  if (vna_status == 0) {
    MsgBox(&main_win, text, " Bandwidth Data", kMbOk, kIconNone, true);
  } else {
    MsgBox(&main_win, "Bandwidth could not be measured.", " Bandwidth error", kMbOk, kIconNone,
           false);
  }
  SetDigits(3);
  ClearHeldKeys();
}

void AntennaBandwidth() {
  vna_status = 0;
  scan_running = 1;
  const int n = MeasuredPointsA();
  const int c = cursor_index;
  if (c < 0 || c >= n) {
    MsgBox(&main_win, "Cursor is not positioned inside the scan data.", "", kMbOk, kIconNone, true);
  } else if (!(swr_ruler > 0.9 && scanA_swr[c] < swr_ruler)) {
    MsgBox(&main_win,
           "The SWR at the cursor position must be less than the SWR Ruler value,\r\nwhich is " +
               NumStr(swr_ruler),
           "", kMbOk, kIconNone, true);
  } else {
    auto below = [](int k) { return scanA_swr[k] < swr_ruler; };
    auto crossing = [](int a, int b) {
      return LevelCrossing(scanA_freq[a], scanA_swr[a], scanA_freq[b], scanA_swr[b], swr_ruler);
    };
    int i = c;
    while (Walking() && i > 0 && below(i)) {
      --i;
      PumpEvents();
    }
    const int low_index = i;
    std::string note1, note2;
    if (low_index == 0 && below(0)) {
      note1 = "NOTE: SWR at the lowest frequency is still less than the SWR Ruler";
      vna_status = 1;
    }
    // A band that reaches an end of the scan is marked at that end.
    const double f_low = !note1.empty()      ? scanA_freq[0]
                         : low_index + 1 < n ? crossing(low_index, low_index + 1)
                                             : scanA_freq[low_index];

    i = c;
    while (Walking() && i < n - 1 && below(i)) {
      ++i;
      PumpEvents();
    }
    const int high_index = i;
    if (high_index == n - 1 && below(n - 1)) {
      note2 = "NOTE: SWR at the highest frequency is still less than the SWR Ruler";
      vna_status = 1;
    }
    const double f_high = !note2.empty()   ? scanA_freq[n - 1]
                          : high_index > 0 ? crossing(high_index, high_index - 1)
                                           : scanA_freq[high_index];

    double min_swr = 10000, min_freq_at = 0;
    for (int k = low_index; k <= high_index; ++k) {
      if (scanA_swr[k] < min_swr) {
        min_swr = scanA_swr[k];
        min_freq_at = scanA_freq[k];
      }
    }

    SetPen(main_win, Green, kPenDash, 2);
    for (double f : {f_low, f_high}) {
      const int x = GraphX(f);
      DrawLine(main_win, x, graph_bottom, x, graph_top);
    }

    if (vna_status == 0) {
      MsgBox(&main_win,
             "Min SWR for this band is: " + NumStr(min_swr) + " at " + NumStr(min_freq_at) +
                 "\rLow freq=" + NumStr(f_low) + "   High freq=" + NumStr(f_high) +
                 "\rBandwidth = " + NumStr(f_high - f_low) + " for SWR less than " +
                 NumStr(swr_ruler),
             "Bandwidth", kMbOk, kIconNone, true);
    } else {
      MsgBox(&main_win,
             note1 + "\r" + note2 + "\rChange the start/stop limits and/or the freq step size.", "",
             kMbOk, kIconNone, true);
    }
  }
  ClearHeldKeys();
  scan_running = 0;
}

}  // namespace vna
