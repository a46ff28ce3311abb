// The two numbered cursors: each key press fixes the readout under the graph
// cursor for one of them, marks it with an exclusive-or line and rewrites
// the " Cursor Data" window with both and their difference.
#include "graph/cursor_data.h"

#include <array>
#include <string>

#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {

double cursor1_freq = 0, cursor2_freq = 0;
CursorValues cursor1_values, cursor2_values;

namespace {

constexpr int kWidth = 750, kHeight = 150;

// Draws (or, drawn again, removes) a cursor line of the main graph. The
// caller has switched the window to exclusive-or drawing.
void CursorLine(int x) {
  SetPen(main_win, Blue ^ White, kPenSolid, 1);
  DrawLine(main_win, x + 1, graph_top, x + 1, graph_bottom);
}

void MoveCursorLine(int& line_x, int x) {
  SetXorMode(main_win, true);
  if (line_x > 0) CursorLine(line_x);
  CursorLine(x);
  line_x = x;
  SetXorMode(main_win, false);
}

double Rho(double zline) {
  const double r = zline / tdr_zo;
  return (r - 1) / (r + 1);
}

// " Distance2 = ", the distance, "  Z2= ", the line impedance, "  Rho2= ", rho.
std::string TdrLine(int k, double unit, const CursorValues& v) {
  const std::string n = k == 1 ? "1" : "2";
  return " Distance" + n + " = " + FormatUsing("####.##", {unit * v.distance}) +
         FormatUsing("  Z" + n + "= ####.##   ", {v.zline}) +
         FormatUsing("  Rho" + n + "= #.###", {Rho(v.zline)});
}

void PrintAt(int x, int y, const TextItems& items) {
  MoveTo(cursor_win, x, y);
  PrintItems(cursor_win, items);
}

// The six values of both cursors and their differences in columns right of
// the text block.
void ValueTable(int x0) {
  const char* heads[6] = {" SWR", " Zmag", " Phase", " Rs", " Xs", " RL(dB)"};
  auto row = [](const CursorValues& v) {
    return std::array<double, 6>{v.swr, v.zmag, v.phase, v.rs, v.xs, v.rl};
  };
  const auto v2 = row(cursor2_values), v1 = row(cursor1_values);
  for (int k = 0; k < 6; ++k) {
    const int x = x0 + 85 * k;
    PrintAt(x, 5, {heads[k]});
    PrintAt(x, 25, {v2[k]});
    PrintAt(x, 45, {v1[k]});
  }
  SetTextColor(cursor_win, Magenta);
  for (int k = 0; k < 6; ++k) PrintAt(x0 + 85 * k, 70, {v2[k] - v1[k]});
  SetTextColor(cursor_win, Black);
}

}  // namespace

CursorValues ReadoutValues() {
  return {cursor_swr, cursor_zmag, cursor_phase,    cursor_rs,
          cursor_xs,  cursor_rl,   cursor_distance, cursor_zline};
}

void ShowCursorData() {
  const bool tdr = tdr_mode != 0;
  if (cursordata_open == 0) {
    OpenWindow(cursor_win, WinLeft, status_y - 50, tdr ? 2 * kWidth / 3 : kWidth, kHeight,
               kWinTopmost | kWinCaption | kWinSysMenu | kWinMin | kWinSizing, " Cursor Data",
               CursorDataHandler);
    cursordata_open = 1;
  }
  FocusForm(main_win);

  const bool first = key_code == '1' || key_code == kVkNumpad0 + 1;
  const int x = cursor_x, y = last_mouse_y;
  if (scanloop > 0 && y >= graph_top && y <= graph_bottom && x >= graph_left && x <= last_x_px)
    MoveCursorLine(first ? cursor1_x : cursor2_x, x);

  FillWindow(cursor_win, White);
  if (first) {
    cursor1_freq = cursor_freq;
    cursor1_values = ReadoutValues();
  } else {
    cursor2_freq = cursor_freq;
    cursor2_values = ReadoutValues();
  }

  FreqDecimals();
  std::string a, b, c;
  if (!tdr) {
    a = " Freq2       = " + NumStr(cursor2_freq);
    b = " Freq1       = " + NumStr(cursor1_freq);
    c = " Delta(2-1)= " + NumStr(cursor2_freq - cursor1_freq);
  } else {
    const double unit = metric != 0 ? 0.3048 : 1;
    a = TdrLine(2, unit, cursor2_values);
    b = TdrLine(1, unit, cursor1_values);
    c = " Del_DX = " + NumStr(unit * (cursor2_values.distance - cursor1_values.distance)) +
        "     Del_Z = " + NumStr(cursor2_values.zline - cursor1_values.zline);
  }

  SetDigits(3);
  SetTextColor(cursor_win, Black);
  if (!tdr) PrintAt(5, 5, {" FREQ"});
  PrintAt(5, 25, {a});
  PrintAt(5, 45, {b});
  SetTextColor(cursor_win, Magenta);
  PrintAt(5, 70, {c});
  SetTextColor(cursor_win, Black);
  if (!tdr) {
    int w = 0, h = 0;
    TextExtent(cursor_win, a, w, h);
    ValueTable(5 + w + 60);
  }

  SetDigits(3);
  SetTextColor(main_win, Black);
  FocusForm(main_win);
}

void CloseCursorData() {
  CloseWindow(cursor_win);
  cursordata_open = 0;
  SetXorMode(main_win, true);
  if (cursor1_x > 0) CursorLine(cursor1_x);
  cursor1_x = 0;
  if (cursor2_x > 0) CursorLine(cursor2_x);
  cursor2_x = 0;
  SetXorMode(main_win, false);
}

int CursorDataHandler() {
  if (msg_id == kEvClose) {
    CloseCursorData();
  } else if (msg_id == kEvMouseMove) {
    FocusMainWindow();
  }
  return 0;
}

}  // namespace vna
