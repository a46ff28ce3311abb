#include "tools/array_scan.h"

#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "tools/channel_scan.h"
#include "tools/state.h"

namespace vna {
namespace {

enum : int {
  kScan = 30501,
  kRecycle = 30502,
  kStopExit = 30505,
  kRescan = 30506,
  kSwrBox = 30507,
  kMagBox = 30508,
  kPhaseBox = 30509,
  kStylesBox = 30510,
};

void Add(CtlKind kind, const std::string& text, int x, int y, int w, int h, int id) {
  AddWindowControl(win_array_scan, kind, text, x, y, w, h, id);
}

void Text(int x, int y, const std::string& s) {
  MoveTo(win_array_scan, x, y);
  PrintText(win_array_scan, s);
}

// A scale value as the window prints numbers: a blank or minus sign, then the
// digits.
void Value(int x, int y, double v) {
  MoveTo(win_array_scan, x, y);
  PrintItems(win_array_scan, {v});
}

void FrequencyLabels(int left, int right, int bottom) {
  Window& w = win_array_scan;
  const char* pattern = delta_freq < 0.001 ? "#.#####" : delta_freq < 0.05 ? "#.###" : "#.##";
  int intervals = 0, per_interval = 0;
  ArrayLabelSplit(freq_divs, intervals, per_interval);
  const int s = (right - left) / intervals;
  SetPen(w, Black, kPenSolid, 1);
  Text(left - 15, bottom + 5, FormatUsing(pattern, {graph_start}));
  for (int j = 1; j < intervals; ++j) {
    const double f = graph_start + j * per_interval * freq_per_div;
    const int x = left + j * s;
    Text(x - 10, bottom + 10, FormatUsing(pattern, {f}));
    const int tick = j == 3 ? x + 1 : x;
    DrawLine(w, tick, bottom - 3, tick, bottom + 10);
    DrawLine(w, tick + 1, bottom - 3, tick + 1, bottom + 10);
  }
  Text(right - 15, bottom + 10, FormatUsing(pattern, {graph_end}));
}

void Controls() {
  const int left = array_left;
  const int y1 = arrayscan_height - 65, y2 = arrayscan_height - 85;
  Add(CtlKind::Button, "SCAN", left, y1, 100, 25, kScan);
  Add(CtlKind::Button, "RESCAN", left + 110, y1, 100, 25, kRescan);
  Add(CtlKind::Button, "RECYCLE", left + 220, y1, 100, 25, kRecycle);
  Add(CtlKind::CheckBox, "SWR", left + 340, y1, 20, 20, kSwrBox);
  Add(CtlKind::Static, "SWR", left + 330, y2, 40, 20, 30511);
  Add(CtlKind::CheckBox, "MAG", left + 390, y1, 20, 20, kMagBox);
  Add(CtlKind::Static, "MAG", left + 380, y2, 40, 20, 30512);
  Add(CtlKind::CheckBox, "", left + 440, y1, 20, 20, kPhaseBox);
  Add(CtlKind::Static, "Phase", left + 425, y2, 55, 20, 30513);
  Add(CtlKind::CheckBox, "", left + 510, y1, 20, 20, kStylesBox);
  Add(CtlKind::Static, "Styles", left + 495, y2, 55, 20, 30514);
  Add(CtlKind::Button, "Stop/Exit", left + 620, y1, 100, 25, kStopExit);
  SetCheck(win_array_scan, kSwrBox, arr_plot_swr != 0);
  SetCheck(win_array_scan, kMagBox, arr_plot_mag != 0);
  SetCheck(win_array_scan, kPhaseBox, arr_plot_phase != 0);
  SetCheck(win_array_scan, kStylesBox, arr_styles != 0);
}

void Toggle(int& flag) {
  flag = flag != 0 ? 0 : 1;
}

// SCAN and RESCAN: all channels into this window. A second request while a
// channel scan runs would clear multichan_scan under it, so it is ignored.
void ScanAll(bool new_frame) {
  if (mux_busy != 0 || scan_running != 0) return;
  multichan_scan = 1;
  if (new_frame) DrawArrayScan();
  ScanAllChannels();
  multichan_scan = 0;
}

}  // namespace

void ArrayLabelSplit(int divs, int& intervals, int& per_interval) {
  struct Split {
    int divs, intervals, per_interval;
  };
  static constexpr Split kSplits[] = {
      {20, 4, 5}, {18, 3, 6}, {16, 4, 4}, {15, 3, 5}, {14, 2, 7}, {13, 13, 1}, {12, 3, 4},
      {10, 2, 5}, {9, 3, 3},  {8, 4, 2},  {7, 7, 1},  {6, 3, 2},  {5, 5, 1},
  };
  for (const Split& s : kSplits) {
    if (s.divs == divs) {
      intervals = s.intervals;
      per_interval = s.per_interval;
      return;
    }
  }
  intervals = divs >= 2 ? divs : 2;
  per_interval = 1;
}

int OpenArrayScan() {
  if (arrayscan_shown == 0) {
    OpenWindow(win_array_scan, 0, 0, arrayscan_width, arrayscan_height,
               kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax,
               " Array Scan  -- version " + prog_ver + prog_subver, ArrayScanHandler);
    DrawArrayScan();
    arrayscan_shown = 1;
    arrayscan_open = 1;
  }
  while (arrayscan_open != 0) WaitEvents();
  CloseWindow(win_array_scan);
  arrayscan_shown = 0;
  return 0;
}

int DrawArrayScan() {
  Window& w = win_array_scan;
  const int left = array_left, right = array_right, top = array_top, bottom = array_bottom;
  FillWindow(w, White);
  start_freq = cal_start_freq;
  end_freq = cal_end_freq;
  delta_freq = cal_delta_freq;
  FreqGrid();
  SetFont(w, "arial", font_size, font_weight);
  SetTextColor(w, Black);
  SetTextBackground(w, false, White);
  Text(0, 0, DateText() + "  " + TimeText());

  px_per_MHz = (right - left) / (graph_end - graph_start);
  const double H = bottom - top;
  grid_units_per_div = H / 10;
  const int g = Rnd(H / 10);
  graph_clip_top = top;
  graph_clip_bottom = bottom;
  graph_zero_y = top + 5 * g;
  swr_yscale = H / (swr_scale - 1);
  zmag_yscale = H / zmag_scale;
  phase_yscale = 0.5 * H / array_phase_scale;

  SetPen(w, Black, kPenSolid, 2);
  DrawLine(w, left, top, left, bottom);
  DrawLine(w, left, bottom, right, bottom);
  DrawLine(w, right, bottom, right, top);
  SetPen(w, grid_line_color, kPenSolid, 1);
  const int row = (bottom - top) / 10;
  for (int i = 1; i <= 10; ++i) DrawLine(w, left, bottom - i * row, right, bottom - i * row);

  if (freq_divs < 2) freq_divs = 10;
  FrequencyLabels(left, right, bottom);
  const int d = (right - left) / freq_divs;
  for (int i = 0; i <= freq_divs; ++i) {
    const int x = left + i * d;
    SetPen(w, grid_line_color, kPenSolid, 1);
    DrawLine(w, x, top, x, bottom);
    SetPen(w, Black, kPenSolid, 1);
    DrawLine(w, x, bottom - 3, x, bottom + 3);
  }

  const std::string axis = "(" + NumStr(freq_per_div) + " MHz/div)";
  int tw = 0, th = 0;
  TextExtent(w, axis, tw, th);
  Text((left + right) / 2 - tw / 2, bottom + 30, axis);

  SetDigits(1);
  for (int i = 0; i <= 10; ++i) {
    const int y = bottom - i * g - 10;
    if (i > 0) Value(right - 30, y, zmag_scale * i / 10);
    Value(right + 5, y, (i - 5) * array_phase_scale / 5);
    Value(left - 30, y, (swr_scale - 1) * i / 10 + 1);
  }
  Text(right - 30, top - 30, "Mag");
  Text(right + 5, top - 30, "Phase");
  Text(left - 30, top - 30, "SWR");

  Controls();
  SetDigits(1);
  return 0;
}

int ArrayScanHandler() {
  if (msg_id != kEvClose && msg_id != kEvCommand) return 0;
  // The close box acts as Stop/Exit.
  switch (msg_id == kEvClose ? static_cast<int>(kStopExit) : msg_ctl_id) {
    case kScan:
      ScanAll(true);
      break;
    case kRescan:
      ScanAll(false);
      break;
    case kSwrBox:
      Toggle(arr_plot_swr);
      break;
    case kMagBox:
      Toggle(arr_plot_mag);
      break;
    case kPhaseBox:
      Toggle(arr_plot_phase);
      break;
    case kStylesBox:
      Toggle(arr_styles);
      break;
    case kStopExit:
      arrayscan_shown = 0;
      multichan_scan = 0;
      recycle_on = 0;
      scan_running = 0;  // a running scan stops
      chan_scan_stop = 1;
      arrayscan_open = 0;
      WakeEvents();
      break;
    default:
      break;  // RECYCLE has no action here
  }
  return 0;
}

}  // namespace vna
