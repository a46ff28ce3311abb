// The Vector Scope window: the face on the left, frequency steps under it,
// the element table and the readings panel on the right.
#include <algorithm>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "tools/array_scan.h"
#include "tools/state.h"
#include "tools/vector_scope.h"

namespace vna {
namespace {

constexpr int kPanelColor = Rgb(255, 223, 193);

enum : int {
  kStopExit = 21170,
  kRefresh = 21172,
  kReadAll = 30400,
  kRecycle = 30401,
  kScan = 23498,
  kFreqLine = 90209,
  kEnableBox = 30200,  // + row
  kReadButton = 30300,  // + row
};

// One column of frequency steps: its label, its " + " and " - " buttons.
struct StepColumn {
  const char* label;
  int label_id;
  double mhz;
};
constexpr StepColumn kSteps[] = {
    {"50 MHz", 21220, 50},  {"10 MHz", 21250, 10},    {" 1MHz", 21280, 1},
    {"100KHz", 21310, 0.1}, {" 10KHz", 21340, 0.01}, {" 1KHz ", 21370, 0.001},
};

void Add(CtlKind kind, const std::string& text, int x, int y, int w, int h, int id) {
  AddWindowControl(win_vector_scope, kind, text, x, y, w, h, id);
}

void Colors(int id, int text, int background) {
  SetCtlColors(win_vector_scope, id, text, background);
}

void SmallFont(int id) {
  SetCtlFont(win_vector_scope, id, "arial", font_size - 1, font_weight);
}

void PrintAt(int x, int y, const TextItems& items) {
  MoveTo(win_vector_scope, x, y);
  PrintItems(win_vector_scope, items);
}

void DrawBars() {
  Window& w = win_vector_scope;
  SetTextColor(w, Black);
  PaintBar(kSwrBarX, kSwrBarY, kSwrBarW, 0);
  SetDigits(1);
  for (int i = 0; i <= 10; ++i) {
    const int x = kSwrBarX + 37 * i;
    DrawLine(w, x + 1, 360, x + 1, 370);
    PrintAt(x - 19, 345, {1 + 0.1 * i});
  }
  PrintAt(830, 392, {"SWR"});
  PaintBar(kDumpBarX, kDumpBarY, kDumpBarW, 0);
  for (int i = 0; i <= 6; ++i) {
    const int x = Rnd(kDumpBarX + 74.5 * i);
    DrawLine(w, x, 435, x, 445);
    PrintAt(x - 10, 420, {-5 * i});
  }
  PrintItems(w, {"dB"});
  PrintAt(830, 467, {"DUMP POWER"});
}

// RECYCLE: READ ALL again and again until RECYCLE is pressed again, READ ALL
// or S is pressed, or the window closes.
void Recycle() {
  if (vscope_recycle != 0) {
    vscope_recycle = 0;
    SetCtlText(win_vector_scope, kRecycle, "RECYCLE");
    return;
  }
  if (vna_present == 0) {
    NeedsHardware();  // once, not once per pass
    return;
  }
  if (mux_busy != 0) return;  // a reading runs: the request is ignored
  vscope_recycle = 1;
  SetCtlText(win_vector_scope, kRecycle, "stop/recycle");
  while (vscope_recycle == 1 && vscope_open == 1) {
    ReadAllElements();
    PumpEvents();
  }
  vscope_recycle = 0;
  ProgRelay(0);
  if (vscope_open != 0) SetCtlText(win_vector_scope, kRecycle, "RECYCLE");
}

void CloseScope() {
  CloseWindow(win_vector_scope);
  vscope_open = 0;
  WakeEvents();
}

void Command(int id) {
  if (id == kStopExit) {
    CloseScope();
    return;
  }
  if (id == kRefresh) {
    DrawVectorScope();
    DrawVectors();
  }
  for (const StepColumn& c : kSteps) {
    if (id == c.label_id + 10) freq += c.mhz;
    if (id == c.label_id + 20) freq -= c.mhz;
  }
  freq = std::clamp(freq, min_freq, std::max(min_freq, maximumfreq));
  ShowVectorScopeFreq();
  if (id > kEnableBox && id <= kEnableBox + 4) {
    const int n = id - kEnableBox;
    chan_enabled[n] = 1 - (chan_enabled[n] != 0);
    SetCheck(win_vector_scope, id, chan_enabled[n] != 0);
  } else if (id > kReadButton && id <= kReadButton + 4) {
    ReadElement(id - kReadButton);
  } else if (id == kReadAll) {
    vscope_recycle = 0;
    ReadAllElements();
  } else if (id == kRecycle) {
    Recycle();
  } else if (id == kScan) {
    OpenArrayScan();
  }
}

}  // namespace

int OpenVectorScope() {
  if (vscope_open != 0) {
    FocusForm(win_vector_scope);
    return 0;
  }
  vscope_linear = 1;
  vscope_width = 1000;
  vscope_height = 600;
  vscope_cy = (600 - 4 * 25 - 36) / 2;
  vscope_radius = Rnd(0.92 * vscope_cy);
  vscope_cx = vscope_radius + 15;
  chan_enabled[1] = chan_enabled[2] = chan_enabled[3] = 1;
  freq = 3.5;
  if (vscope_elements[1].mag == -1) {
    vscope_nelements = 5;
    vscope_circles = 5;
    vscope_db_spacing = -3;
    vscope_settle_ms = 100;
    vscope_elements[1].mag = 1;
    vscope_elements[1].phase = 0;
    for (int n = 2; n <= 5; ++n) {
      vscope_elements[n].mag = 0.0001;
      vscope_elements[n].phase = 0;
    }
  }
  const int colours[6] = {0, Black, RedColor, Green, Blue, Orange};
  for (int n = 1; n <= 5; ++n) {
    VectorTrace& e = vscope_elements[n];
    e.colour = colours[n];
    e.name = std::string("vector_") + static_cast<char>('0' + n);
    e.index = n;
    e.tip_x = 0;
  }
  OpenWindow(win_vector_scope, 150, 100, vscope_width, vscope_height,
             kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax | kWinTopmost,
             " Vector Scope  -- version " + prog_ver + prog_subver, VectorScopeHandler);
  vscope_open = 1;
  FocusForm(win_vector_scope);
  Window& w = win_vector_scope;
  SetFont(w, "arial", font_size, font_weight);
  SetTextColor(w, Black);
  MoveTo(w, 1, 1);
  PrintText(w, DateText() + "   " + TimeText() + "    ");
  SetXorMode(w, false);
  DrawVectorScope();
  DrawVectors();
  CreateVectorScopeControls();
  FocusForm(w);
  while (vscope_open != 0) WaitEvents();
  return 0;
}

int CreateVectorScopeControls() {
  Window& win = win_vector_scope;
  const int H = vscope_height;
  const int x0 = 2 * vscope_cx;
  SetFont(win, "arial", font_size, font_weight);
  int w = 0, th = 0, element_w = 0;
  TextExtent(win, "  XX.XXXXXX", w, th);
  TextExtent(win, "Element", element_w, th);
  const int a = x0 + 20, b = x0 + 45, c = x0 + 112, d = x0 + 179, e = d + w, f = e + 67,
            g = f + w;

  for (int j = 0; j < 6; ++j) {
    const StepColumn& s = kSteps[j];
    const int x = 10 + 67 * j;
    Add(CtlKind::Static, s.label, x, H - 110, 67, 25, s.label_id);
    Add(CtlKind::Button, " + ", x, H - 85, 67, 25, s.label_id + 10);
    Add(CtlKind::Button, " - ", x, H - 60, 67, 25, s.label_id + 20);
  }

  SetPen(win, Black, kPenSolid, 2);
  SetFill(win, true, kPanelColor);
  DrawRect(win, x0 + 19, 49, (g + 67 - a) + 3, 201);
  SetFill(win, false);
  SetPen(win, Black, kPenSolid, 1);

  Add(CtlKind::Static, " Freq =", a, 50, d - a, 25, kFreqLine);
  Colors(kFreqLine, White, RedColor);
  Add(CtlKind::Static, " SWR = x.xxx", d, 50, f - d, 25, kVsSwrText);
  Colors(kVsSwrText, Black, bright_yellow_color);
  Add(CtlKind::Static, " DPwr = -xx.x dB", f, 50, g + 67 - f, 25, kVsDumpText);
  Colors(kVsDumpText, Black, btn_hilite);
  Add(CtlKind::Static, " ", a, 75, d - a, 25, 7241);
  Colors(7241, White, kPanelColor);
  Add(CtlKind::Static, " ", a, 100, c - a, 25, 7242);
  Colors(7242, White, kPanelColor);
  Add(CtlKind::Static, "       Raw Data ", d, 75, f - d, 25, 90241);
  Add(CtlKind::Static, "   Norm vs.EL1", f, 75, f - d, 25, 90242);
  Add(CtlKind::Static, "Element", c, 100, 67, 25, 90210);
  for (int id : {90241, 90242, 90210}) {
    Colors(id, Black, kPanelColor);
    SmallFont(id);
  }
  Add(CtlKind::Static, " Kmag", d, 100, w, 25, 90220);
  Add(CtlKind::Static, " phase", e, 100, 67, 25, 90230);
  Add(CtlKind::Static, " Kmag", f, 100, w, 25, 90250);
  Add(CtlKind::Static, " phase", g, 100, 67, 25, 90260);
  for (int id : {90220, 90230, 90250, 90260}) Colors(id, Black, kPanelColor);

  for (int n = 1; n <= 4; ++n) {
    const int y = 100 + 25 * n;
    const std::string row(1, static_cast<char>('0' + n));
    Add(CtlKind::CheckBox, "", a, y, 25, 25, kEnableBox + n);
    SetCheck(win, kEnableBox + n, chan_enabled[n] != 0);
    Colors(kEnableBox + n, Black, kPanelColor);
    Add(CtlKind::Button, "Read " + row, b, y, 67, 25, kReadButton + n);
    Add(CtlKind::Static, "    " + row, c, y, 67, 25, 90210 + n);
    Add(CtlKind::Static, n == 1 ? "1.0000" : "0.0001", d, y, w, 25, 90220 + n);
    Add(CtlKind::Static, n == 1 ? " 35.7" : " 0.00", e, y, 67, 25, 90230 + n);
    Add(CtlKind::Static, n == 1 ? "1.0000" : "0.0001", f, y, w, 25, 90250 + n);
    Add(CtlKind::Static, " 0.00", g, y, 67, 25, 90260 + n);
    if (n == 1) continue;
    for (int id : {kReadButton + n, 90210 + n, 90220 + n, 90230 + n, 90250 + n, 90260 + n})
      Colors(id, White, vscope_elements[n].colour);
  }

  Add(CtlKind::Static, "Vector Full Scale", x0 + 20, 275, 268, 25, 21173);
  Colors(21173, Black, White);
  Add(CtlKind::ComboDropDown, "1", x0 + 20, 300, 67, 151, kVsFullScale);
  for (const char* item : {"5", "2", "1", "0.5", "0.2", "0.1"})
    ComboAdd(win, kVsFullScale, item);
  SetCtlText(win, kVsFullScale, "1");
  Add(CtlKind::Button, "Refresh", x0 + 87, 300, 67, 25, kRefresh);
  Add(CtlKind::Static, "Settling(ms)", x0 + 174, 275, 134, 25, 21183);
  Colors(21183, Black, White);
  Add(CtlKind::Edit, "Delay", x0 + 174, 300, element_w, 25, kVsDelay);
  Add(CtlKind::Button, "READ ALL", 480, 516, 100, 25, kReadAll);
  Add(CtlKind::Button, "RECYCLE", 580, 516, 100, 25, kRecycle);
  Add(CtlKind::Button, "SCAN", 680, 516, 100, 25, kScan);
  Add(CtlKind::Button, "Stop/Exit", 780, 516, 100, 25, kStopExit);

  DrawBars();
  SetCtlText(win, kVsDelay, NumStr(vscope_settle_ms));
  SetDigits(3);
  ShowVectorScopeFreq();
  return 0;
}

int ShowVectorScopeFreq() {
  Window& win = win_vector_scope;
  indep_chan = 5;
  SetDigits(3);
  SetCtlText(win, kFreqLine, " FREQ =" + NumStr(freq) + "MHz    ");
  const VectorTrace& first = vscope_elements[1];
  for (int n = 1; n <= 4; ++n) {
    const VectorTrace& e = vscope_elements[n];
    SetDigits(4);
    SetCtlText(win, 90220 + n, NumStr(e.mag));
    SetDigits(2);
    SetCtlText(win, 90230 + n, NumStr(e.phase * 57.3));
    if (chan_enabled[n] == 0) continue;  // keeps its last texts
    SetDigits(4);
    SetCtlText(win, 90250 + n, NumStr(e.mag / first.mag));
    // Shown within -180..180 on both sides.
    double p = (e.phase - first.phase) * 57.3;
    while (p > 180) p -= 360;
    while (p < -180) p += 360;
    SetDigits(2);
    SetCtlText(win, 90260 + n, NumStr(p));
  }
  SetDigits(3);
  return 0;
}

int VectorScopeHandler() {
  switch (msg_id) {
    case kEvKeyDown:
      key_code = msg_wparam;
      if (key_code == 'S') {
        if (vna_present == 0) {
          NeedsHardware();
        } else {
          vscope_recycle = 0;
          ReadAllElements();
        }
      }
      break;
    case kEvCommand:
      Command(msg_ctl_id);
      break;
    case kEvClose:
      CloseScope();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace vna
