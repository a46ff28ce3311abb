#include "scan/point_win.h"

#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/smith_chart.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/keys.h"
#include "shell/state.h"
#include "shell/tones.h"

namespace vna {

namespace {

enum : int {
  kStop = 174,
  kTone = 190,
  kSmith = 1984,
  kClk1 = 11291,
  kClk2 = 11292,
};

// One column of frequency steps: its label and its " + " and " - " buttons.
struct StepColumn {
  const char* label;
  int label_id, plus_id, minus_id;
  double mhz;
};
constexpr StepColumn kColumns[] = {
    {" 50MHz", 175, 3179, 3180, 50}, {" 10MHz ", 3189, 176, 177, 10},
    {" 1MHz ", 178, 179, 180, 1},    {"100KHz", 181, 182, 183, 0.1},
    {" 10KHz", 184, 185, 186, 0.01}, {" 1KHz ", 187, 188, 189, 0.001},
};

void Add(CtlKind kind, const std::string& text, int x, int y, int w, int h, int id) {
  AddWindowControl(point_win, kind, text, x, y, w, h, id);
}

void ToggleTone() {
  if (midi_out != 0) {
    tone_on = 1 - tone_on;
    tone_restart = tone_on;  // a new note sounds at the next reading
    return;
  }
  tone_on = 0;
  tone_restart = 0;
  MsgBox(&point_win,
         std::string("Tone output is not available.") + "\r" + "Check if your computer has a " +
             "\r" + "sound card and speaker installed.",
         "", kMbOk, kIconNone, true);
}

void ToggleSmith() {
  if (PortB_on != 0) return;
  point_smith = 1 - point_smith;
  if (point_smith == 1) {
    Smith();  // returns at once beside point data
    point_smith_new = 1;
    return;
  }
  smith_open = 0;
  point_smith_new = 0;
  CloseWindow(smith_win);
  smith_drawn = 0;
  smith_active = 0;
  FocusForm(point_win);
}

void Control(int id) {
  switch (id) {
    case kStop:
      pointwin_run = 0;
      return;
    case kTone:
      ToggleTone();
      return;
    case kSmith:
      ToggleSmith();
      return;
    case kClk1:
    case kClk2:
      SelectOsc(id == kClk1 ? 1 : 2);
      osc_manual = 1;  // stays as chosen until the mode or the window ends
      return;
    default:
      break;
  }
  for (const StepColumn& c : kColumns) {
    if (id == c.plus_id || id == c.minus_id) {
      freq += id == c.plus_id ? c.mhz : -c.mhz;
      freq_changed = 1;
      return;
    }
  }
}

// The measuring frequency stays where a reading can be corrected, or within
// the instrument's reach in diagnostic mode.
void ClampFreq() {
  if (DIAGMODE == 0) {
    if (freq > cal_end_freq) freq = cal_end_freq;
    if (freq < cal_start_freq) freq = cal_start_freq;
  } else {
    if (freq > maximumfreq + 20) freq = maximumfreq + 20;
    if (freq < 0.001) freq = 0.001;
  }
}

}  // namespace

void AddPointButtons() {
  const int bw = 60, bh = 25;
  int x0 = PointWinWidth / 2 - 150, y0 = 400;
  if (DIAGMODE != 0) {
    x0 = PointWinWidth - 370;
    y0 = 30;
  }
  const int top = y0 - bh - 2;
  Add(CtlKind::Button, "Stop/Exit", x0, top, 120, bh, kStop);
  Add(CtlKind::Button, "Tone ", x0 + 120, top, 120, bh, kTone);
  Add(CtlKind::Button, "Smith", x0 + 240, top, 120, bh, kSmith);
  int x = x0;
  for (const StepColumn& c : kColumns) {
    Add(CtlKind::Static, c.label, x, y0, bw, bh, c.label_id);
    Add(CtlKind::Button, " + ", x, y0 + bh, bw, bh, c.plus_id);
    Add(CtlKind::Button, " - ", x, y0 + 2 * bh, bw, bh, c.minus_id);
    x += bw;
  }
  if (DIAGMODE != 0) {
    Add(CtlKind::Button, " CLK1", x0, y0 + 3 * bh, bw, bh, kClk1);
    Add(CtlKind::Button, " CLK2", x0 + bw, y0 + 3 * bh, bw, bh, kClk2);
  }
}

int PointWinHandler() {
  switch (msg_id) {
    case kEvKeyDown:
      key_code = msg_wparam;
      key_down = 1;
      HandleKey();
      break;
    case kEvKeyUp:
      key_down = 0;
      key_code = msg_wparam;
      if (msg_wparam == kVkCtrl) ctrl_key_down = 0;
      break;
    case kEvCommand:
      Control(msg_ctl_id);
      ClampFreq();
      break;
    case kEvClose:
      CloseWindow(point_win);
      osc_manual = 0;  // a hand-chosen oscillator never outlives the window
      pointwin_run = 0;
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace vna
